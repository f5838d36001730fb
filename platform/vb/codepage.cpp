#include "platform/vb/codepage.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

#include "platform/vb/utf8.h"

namespace vb {

namespace {

const char* iconvName(CodePage cp) {
    switch (cp) {
    case CodePage::Dos437: return "CP437";
    case CodePage::Dos850: return "CP850";
    case CodePage::Windows1252: return "CP1252";
    }
    return "CP1252";
}

class Converter {
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {
        if (m_cd == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error(std::string("Zeichensatz nicht verfügbar: ") + from + " -> " + to);
    }
    ~Converter() { iconv_close(m_cd); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts as much as possible; returns false at a sequence the target cannot take, with `in`
    // and `inLeft` standing on it.
    bool run(char*& in, size_t& inLeft, std::string& out) {
        char buf[1024];
        while (inLeft > 0) {
            char* o = buf;
            size_t oLeft = sizeof buf;
            const size_t r = iconv(m_cd, &in, &inLeft, &o, &oLeft);
            out.append(buf, static_cast<size_t>(o - buf));
            if (r == static_cast<size_t>(-1)) {
                if (errno == E2BIG) continue;
                iconv(m_cd, nullptr, nullptr, nullptr, nullptr);  // reset the shift state
                return false;
            }
        }
        return true;
    }

private:
    iconv_t m_cd;
};

}  // namespace

std::string toUtf8(const std::string& bytes, CodePage cp) {
    Converter conv("UTF-8", iconvName(cp));
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    std::string copy = bytes;
    char* in = copy.data();
    size_t left = copy.size();
    while (!conv.run(in, left, out)) {
        utf8::append(out, static_cast<unsigned char>(*in));
        ++in;
        --left;
    }
    return out;
}

std::string fromUtf8(const std::string& text, CodePage cp) {
    Converter conv(iconvName(cp), "UTF-8");
    std::string out;
    out.reserve(text.size());
    std::string copy = text;
    char* in = copy.data();
    size_t left = copy.size();
    while (!conv.run(in, left, out)) {
        size_t pos = static_cast<size_t>(in - copy.data());
        const size_t start = pos;
        const char32_t c = utf8::next(copy, pos);
        // The empty positions of 1252 take back the control characters they were read as.
        if (cp == CodePage::Windows1252 && (c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D))
            out += static_cast<char>(c);
        else out += '?';
        in += pos - start;
        left -= pos - start;
    }
    return out;
}

std::string dosUmlautsToUtf8(const std::string& bytes) {
    std::string out;
    out.reserve(bytes.size() + 16);
    std::string run;
    auto flush = [&] {
        if (!run.empty()) out += toUtf8(run, CodePage::Windows1252);
        run.clear();
    };
    for (char ch : bytes) {
        char32_t letter = 0;
        switch (static_cast<unsigned char>(ch)) {
        case 148: letter = U'ö'; break;
        case 129: letter = U'ü'; break;
        case 132: letter = U'ä'; break;
        case 225: letter = U'ß'; break;
        case 154: letter = U'Ü'; break;
        case 153: letter = U'Ö'; break;
        case 142: letter = U'Ä'; break;
        default: run += ch; continue;
        }
        flush();
        utf8::append(out, letter);
    }
    flush();
    return out;
}

}  // namespace vb
