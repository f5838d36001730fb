#include "platform/db/text.h"

#include <QList>
#include <QString>
#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/vb/ascii.h"

namespace db::detail {

namespace {

// One code point of UTF-8 text; a byte that starts no valid sequence stands for itself.
char32_t nextCodePoint(std::string_view s, size_t& i) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    char32_t cp;
    int n;
    if (c < 0x80) {
        ++i;
        return c;
    }
    if ((c >> 5) == 6) {
        cp = c & 0x1F;
        n = 2;
    } else if ((c >> 4) == 14) {
        cp = c & 0x0F;
        n = 3;
    } else if ((c >> 3) == 30) {
        cp = c & 0x07;
        n = 4;
    } else {
        ++i;
        return c;
    }
    if (i + n > s.size()) {
        ++i;
        return c;
    }
    for (int k = 1; k < n; ++k) {
        const unsigned char d = static_cast<unsigned char>(s[i + k]);
        if ((d >> 6) != 2) {
            ++i;
            return c;
        }
        cp = (cp << 6) | (d & 0x3F);
    }
    i += n;
    return cp;
}

std::u32string decode(std::string_view s) {
    std::u32string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();) out.push_back(nextCodePoint(s, i));
    return out;
}

char32_t lower(char32_t c) {
    if (c >= 'A' && c <= 'Z') return c + 32;
    if ((c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 32;
    // The rest of Latin-1 has nothing that lowers: its letters are lower case already.
    if (c < 0x100) return c;
    const QString s = QString::fromUcs4(&c, 1).toLower();
    const auto u = s.toUcs4();
    return u.isEmpty() ? c : u[0];
}

// The base letters of Latin-1's lower-case letters 0xE0..0xFF (0xF7 is no letter).
constexpr const char* kBases = "aaaaaaaceeeeiiiidnooooo/ouuuuyty";

// What German order compares first, one unit at a time: each letter's base letter (ß gives "ss"),
// or, with kAccent, the accent that sets it apart from its base letter (0 for none). Read straight
// from the text: a sort calls this for every pair it compares.
template <bool kAccent>
struct SortUnits {
    std::string_view s;
    size_t i = 0;
    bool second = false;  // the second letter of ß is due
    bool next(char32_t& out) {
        if (second) {
            second = false;
            out = kAccent ? 1 : U's';
            return true;
        }
        if (i >= s.size()) return false;
        const char32_t l = lower(nextCodePoint(s, i));
        if (l == 0xDF) {
            second = true;
            out = kAccent ? 1 : U's';
        } else if (l >= 0xE0 && l <= 0xFF && l != 0xF7) {
            out = kAccent ? l : static_cast<unsigned char>(kBases[l - 0xE0]);
        } else {
            out = kAccent ? 0 : l;
        }
        return true;
    }
};

template <bool kAccent>
int compareUnits(std::string_view a, std::string_view b) {
    SortUnits<kAccent> x{a}, y{b};
    for (;;) {
        char32_t p = 0, q = 0;
        const bool moreA = x.next(p), moreB = y.next(q);
        if (!moreA || !moreB) return moreA == moreB ? 0 : (moreA ? 1 : -1);
        if (p != q) return p < q ? -1 : 1;
    }
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
            if (x != y && vb::ascii::toLower(x) != vb::ascii::toLower(y)) return false;
        }
        return true;
    }
    return foldName(a) == foldName(b);
}

int compareGerman(std::string_view a, std::string_view b) {
    if (const int c = compareUnits<false>(a, b)) return c;
    if (const int c = compareUnits<true>(a, b)) return c;
    // Lower case before upper case, as the dictionary does; then the shorter text first.
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const char32_t x = nextCodePoint(a, i), y = nextCodePoint(b, j);
        if (x == y) continue;
        const bool la = lower(x) == x, lb = lower(y) == y;
        if (la != lb) return la ? -1 : 1;
        return x < y ? -1 : 1;
    }
    if (i < a.size()) return 1;
    if (j < b.size()) return -1;
    return 0;
}

namespace {

// One unit of a sort key: 1 to 0xEF in a byte of its own, larger ones after a 0xF0 in three bytes.
// Every unit is one more than its value, so a section's closing 0 comes before any unit.
void appendUnit(std::string& key, uint32_t value) {
    const uint32_t v = value + 1;
    if (v < 0xF0) {
        key += static_cast<char>(v);
        return;
    }
    key += static_cast<char>(0xF0);
    key += static_cast<char>((v >> 16) & 0xFF);
    key += static_cast<char>((v >> 8) & 0xFF);
    key += static_cast<char>(v & 0xFF);
}

template <bool kAccent>
void appendSection(std::string& key, std::string_view text) {
    SortUnits<kAccent> units{text};
    for (char32_t u; units.next(u);) appendUnit(key, u);
    key += '\0';
}

}  // namespace

std::string germanSortKey(std::string_view text) {
    // The three steps of compareGerman one after the other: base letters, accents, then every
    // character with lower case first (flag 0) and its code.
    std::string key;
    key.reserve(text.size() * 3 + 3);
    appendSection<false>(key, text);
    appendSection<true>(key, text);
    for (size_t i = 0; i < text.size();) {
        const char32_t c = nextCodePoint(text, i);
        appendUnit(key, (lower(c) == c ? 0u : 0x200000u) + static_cast<uint32_t>(c));
    }
    key += '\0';
    return key;
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
            if (k < close && p[k] == '!') {
                negate = true;
                ++k;
            }
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

bool jetLike(std::string_view text, std::string_view pattern) { return likeAt(decode(text), 0, decode(pattern), 0); }

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
