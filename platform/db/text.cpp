#include "platform/db/text.h"

#include <QList>
#include <QString>
#include <filesystem>
#include <system_error>
#include <vector>

namespace db::detail {

namespace {

std::u32string decode(std::string_view s) {
    std::u32string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        char32_t cp;
        int n;
        if (c < 0x80) { cp = c; n = 1; }
        else if ((c >> 5) == 6) { cp = c & 0x1F; n = 2; }
        else if ((c >> 4) == 14) { cp = c & 0x0F; n = 3; }
        else if ((c >> 3) == 30) { cp = c & 0x07; n = 4; }
        else { out.push_back(c); ++i; continue; }  // stray byte: keep as is
        if (i + n > s.size()) { out.push_back(c); ++i; continue; }
        bool ok = true;
        for (int k = 1; k < n; ++k) {
            unsigned char d = static_cast<unsigned char>(s[i + k]);
            if ((d >> 6) != 2) { ok = false; break; }
            cp = (cp << 6) | (d & 0x3F);
        }
        if (!ok) { out.push_back(c); ++i; continue; }
        out.push_back(cp);
        i += n;
    }
    return out;
}

char32_t lower(char32_t c) {
    if (c >= 'A' && c <= 'Z') return c + 32;
    if ((c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 32;
    if (c < 0x80) return c;
    const QString s = QString::fromUcs4(&c, 1).toLower();
    const auto u = s.toUcs4();
    return u.isEmpty() ? c : u[0];
}

// Base letter and accent rank of a Latin-1 letter (lower case).
void baseOf(char32_t c, std::u32string& base, std::u32string& accents) {
    static const char* map = "aaaaaaaceeeeiiiidnooooo/ouuuuyty";  // 0xE0..0xFF
    if (c >= 0xE0 && c <= 0xFF && c != 0xF7) {
        if (c == 0xDF) { base += U"ss"; accents += U"\x01\x01"; return; }
        base.push_back(static_cast<unsigned char>(map[c - 0xE0]));
        accents.push_back(c);
        return;
    }
    if (c == 0xDF) { base += U"ss"; accents += U"\x01\x01"; return; }
    base.push_back(c);
    accents.push_back(0);
}

}  // namespace

std::string foldName(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())).toCaseFolded().toStdString();
}

bool sameName(std::string_view a, std::string_view b) {
    // Names of plain letters are compared here; only names with umlauts or the like need folding.
    auto ascii = [](std::string_view s) {
        for (unsigned char c : s)
            if (c >= 0x80) return false;
        return true;
    };
    if (ascii(a) && ascii(b)) {
        if (a.size() != b.size()) return false;
        for (size_t i = 0; i < a.size(); ++i) {
            const unsigned char x = a[i], y = b[i];
            if (x != y && std::tolower(x) != std::tolower(y)) return false;
        }
        return true;
    }
    return foldName(a) == foldName(b);
}

int compareGerman(std::string_view a, std::string_view b) {
    const std::u32string ua = decode(a), ub = decode(b);
    std::u32string ba, aa, bb, ab;
    for (char32_t c : ua) baseOf(lower(c), ba, aa);
    for (char32_t c : ub) baseOf(lower(c), bb, ab);
    if (ba != bb) return ba < bb ? -1 : 1;
    if (aa != ab) return aa < ab ? -1 : 1;
    // Lower case before upper case, as the dictionary does.
    for (size_t i = 0; i < ua.size() && i < ub.size(); ++i) {
        if (ua[i] == ub[i]) continue;
        const bool la = lower(ua[i]) == ua[i], lb = lower(ub[i]) == ub[i];
        if (la != lb) return la ? -1 : 1;
        return ua[i] < ub[i] ? -1 : 1;
    }
    if (ua.size() != ub.size()) return ua.size() < ub.size() ? -1 : 1;
    return 0;
}

size_t charCount(std::string_view s) {
    size_t n = 0;
    for (unsigned char c : s)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

namespace {
bool likeAt(const std::u32string& t, size_t ti, const std::u32string& p, size_t pi) {
    while (pi < p.size()) {
        const char32_t pc = p[pi];
        if (pc == '*') {
            while (pi < p.size() && p[pi] == '*') ++pi;
            if (pi == p.size()) return true;
            for (size_t k = ti; k <= t.size(); ++k)
                if (likeAt(t, k, p, pi)) return true;
            return false;
        }
        if (ti >= t.size()) return false;
        const char32_t tc = lower(t[ti]);
        if (pc == '?') {
        } else if (pc == '#') {
            if (tc < '0' || tc > '9') return false;
        } else if (pc == '[') {
            size_t close = p.find(']', pi + 1);
            if (close == std::u32string::npos) return false;
            size_t k = pi + 1;
            bool negate = false;
            if (k < close && p[k] == '!') { negate = true; ++k; }
            bool hit = false;
            if (k == close) hit = false;
            while (k < close) {
                char32_t lo = lower(p[k]);
                if (k + 2 < close && p[k + 1] == '-') {
                    char32_t hi = lower(p[k + 2]);
                    if (tc >= lo && tc <= hi) hit = true;
                    k += 3;
                } else {
                    if (tc == lo) hit = true;
                    ++k;
                }
            }
            if (hit == negate) return false;
            pi = close;
        } else if (lower(pc) != tc) {
            return false;
        }
        ++pi;
        ++ti;
    }
    return ti == t.size();
}
}  // namespace

bool jetLike(std::string_view text, std::string_view pattern) {
    return likeAt(decode(text), 0, decode(pattern), 0);
}

std::string resolvePath(const std::string& input) {
    namespace fs = std::filesystem;
    std::string p = input;
    for (char& c : p)
        if (c == '\\') c = '/';
    std::error_code ec;
    if (p.empty() || fs::exists(p, ec)) return p;
    // Walk the parts, taking an existing entry whose name matches without regard to case.
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= p.size()) {
        size_t slash = p.find('/', start);
        if (slash == std::string::npos) slash = p.size();
        parts.push_back(p.substr(start, slash - start));
        start = slash + 1;
    }
    std::string cur = p[0] == '/' ? "/" : "";
    // Once a part exists in no case, nothing below it can: the rest is taken as written (looking
    // further would cost a walk of the path for every part).
    bool found = true;
    for (const std::string& part : parts) {
        if (part.empty()) continue;
        const std::string prefix = cur.empty() ? "" : (cur.back() == '/' ? cur : cur + "/");
        std::string joined = prefix + part;
        if (found && part != "." && part != ".." && !fs::exists(joined, ec)) {
            found = false;
            for (const auto& entry : fs::directory_iterator(cur.empty() ? "." : cur, ec)) {
                const std::string name = entry.path().filename().string();
                if (sameName(name, part)) {
                    joined = prefix + name;
                    found = true;
                    break;
                }
            }
        }
        cur = joined;
    }
    return cur;
}

}  // namespace db::detail
