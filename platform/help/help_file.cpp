#include "platform/help/help_file.h"

#include "platform/host/local_path.h"

#include <sqlite3.h>

#include <QFileInfo>

#include <vector>

namespace help {

namespace {
std::string normalise(std::string p) {
    if (auto hash = p.find('#'); hash != std::string::npos) p.erase(hash);
    for (char& c : p)
        if (c == '\\') c = '/';
    while (p.rfind("./", 0) == 0) p.erase(0, 2);
    while (!p.empty() && p.front() == '/') p.erase(0, 1);
    return p;
}

std::optional<Topic> query(sqlite3* db, const char* sql, const std::string* arg) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK) return std::nullopt;
    if (arg) sqlite3_bind_text(st, 1, arg->c_str(), static_cast<int>(arg->size()), SQLITE_TRANSIENT);
    std::optional<Topic> out;
    if (sqlite3_step(st) == SQLITE_ROW) {
        auto text = [&](int i) {
            const unsigned char* t = sqlite3_column_text(st, i);
            return t ? std::string(reinterpret_cast<const char*>(t)) : std::string();
        };
        out = Topic{text(0), text(1), text(2)};
    }
    sqlite3_finalize(st);
    return out;
}
}  // namespace

std::unique_ptr<HelpFile> HelpFile::open(const std::string& path, std::string* error) {
    const std::string local = forms::resolveLocalPath(path);
    if (!QFileInfo(QString::fromStdString(local)).isFile()) {
        if (error) *error = "Die Hilfedatei \"" + path + "\" wurde nicht gefunden.";
        return nullptr;
    }
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(local.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        if (error) *error = "Die Hilfedatei \"" + path + "\" kann nicht geöffnet werden.";
        return nullptr;
    }
    // Not a database, or a database without topics: not a help file.
    sqlite3_stmt* st = nullptr;
    const bool ok = sqlite3_prepare_v2(db, "SELECT path, title, html FROM topics LIMIT 1", -1, &st, nullptr) == SQLITE_OK;
    sqlite3_finalize(st);
    if (!ok) {
        sqlite3_close(db);
        if (error) *error = "Die Datei \"" + path + "\" ist keine gültige Hilfedatei.";
        return nullptr;
    }
    return std::unique_ptr<HelpFile>(new HelpFile(db, local));
}

HelpFile::~HelpFile() { sqlite3_close(m_db); }

std::optional<Topic> HelpFile::topic(const std::string& path) const {
    const std::string p = normalise(path);
    return query(m_db, "SELECT path, title, html FROM topics WHERE path = ?1", &p);
}

std::optional<Topic> HelpFile::firstTopic() const {
    return query(m_db, "SELECT path, title, html FROM topics ORDER BY rowid LIMIT 1", nullptr);
}

std::string HelpFile::resolveLink(const std::string& from, const std::string& link) {
    std::string l = link;
    for (char& c : l)
        if (c == '\\') c = '/';
    if (!l.empty() && l.front() == '/') return normalise(l);
    std::vector<std::string> parts;
    const std::string base = normalise(from);
    std::size_t start = 0;
    for (std::size_t i = 0; i < base.size(); ++i)
        if (base[i] == '/') {
            parts.push_back(base.substr(start, i - start));
            start = i + 1;
        }
    if (l.empty() || l.front() == '#') return base;
    start = 0;
    const std::string rel = normalise(l);
    for (std::size_t i = 0; i <= rel.size(); ++i)
        if (i == rel.size() || rel[i] == '/') {
            const std::string part = rel.substr(start, i - start);
            if (part == "..") {
                if (!parts.empty()) parts.pop_back();
            } else if (!part.empty() && part != ".") {
                parts.push_back(part);
            }
            start = i + 1;
        }
    std::string out;
    for (const auto& p : parts) out += (out.empty() ? "" : "/") + p;
    return out;
}

}  // namespace help
