#include "platform/chart/hyphenation.h"

#include <hyphen.h>

#include <QStringEncoder>

#include <cstdlib>
#include <fstream>
#include <future>
#include <map>
#include <mutex>

namespace chart {

struct Hyphenation::Dict {
    HyphenDict* d = nullptr;
    std::mutex mutex;
    std::map<QString, std::vector<int>> cache;
};

namespace {

std::once_flag gLaden;
std::shared_future<std::shared_ptr<const Hyphenation>> gDeutsch;

}  // namespace

void Hyphenation::preloadGerman() {
    std::call_once(gLaden, [] {
        gDeutsch = std::async(std::launch::async, [] {
                       return std::make_shared<const Hyphenation>("/usr/share/hyphen/hyph_de_DE.dic");
                   }).share();
    });
}

const Hyphenation& Hyphenation::german() {
    preloadGerman();
    return *gDeutsch.get();
}

Hyphenation::Hyphenation(const std::string& path) {
    // The first line of a dictionary names its character set; libhyphen reads it too but does not
    // convert, so words are handed over in that set.
    std::ifstream in(path);
    if (!in) return;
    std::getline(in, m_encoding);
    while (!m_encoding.empty() && (m_encoding.back() == '\r' || m_encoding.back() == ' ')) m_encoding.pop_back();
    in.close();
    QStringEncoder probe(m_encoding.c_str());
    if (!probe.isValid()) return;
    if (HyphenDict* d = hnj_hyphen_load(path.c_str())) {
        m_dict = new Dict;
        m_dict->d = d;
    }
}

Hyphenation::~Hyphenation() {
    if (m_dict) hnj_hyphen_free(m_dict->d);
    delete m_dict;
}

std::vector<int> Hyphenation::points(const QString& word) const {
    std::vector<int> out;
    if (!m_dict) return out;
    std::lock_guard<std::mutex> lock(m_dict->mutex);
    if (auto it = m_dict->cache.find(word); it != m_dict->cache.end()) return it->second;
    constexpr int kMin = 2;  // letters kept on each side of a break
    qsizetype i = 0;
    while (i < word.size()) {
        if (!word[i].isLetter()) {
            ++i;
            continue;
        }
        qsizetype j = i;
        while (j < word.size() && word[j].isLetter()) ++j;
        const QString run = word.mid(i, j - i);
        if (run.size() >= 2 * kMin) {
            QStringEncoder enc(m_encoding.c_str());
            const QByteArray bytes = enc.encode(run.toLower());
            // One byte per letter, or the positions would not match the word's.
            if (!enc.hasError() && bytes.size() == run.size()) {
                std::vector<char> hyphens(bytes.size() + 5, 0);
                char** rep = nullptr;
                int* pos = nullptr;
                int* cut = nullptr;
                if (hnj_hyphen_hyphenate3(m_dict->d, bytes.constData(), static_cast<int>(bytes.size()), hyphens.data(),
                                          nullptr, &rep, &pos, &cut, kMin, kMin, kMin, kMin) == 0) {
                    for (qsizetype k = kMin - 1; k + kMin < run.size(); ++k) {
                        // An odd digit after letter k allows a break; a break that changes the
                        // spelling (rep) is left out, since a label shows the word as it is.
                        const bool ungerade = (hyphens[k] - '0') % 2 == 1;
                        if (ungerade && !(rep && rep[k])) out.push_back(static_cast<int>(i + k + 1));
                    }
                }
                if (rep) {
                    for (qsizetype k = 0; k < bytes.size(); ++k) std::free(rep[k]);
                    std::free(rep);
                }
                std::free(pos);
                std::free(cut);
            }
        }
        i = j;
    }
    m_dict->cache.emplace(word, out);
    return out;
}

}  // namespace chart
