#pragma once

#include <string>
#include <string_view>

// Blanks, digits, letters and their case as SQL texts, layout files, patterns and names of tables
// and fields need them: plain ASCII, the same in every locale. The C library's isspace and
// tolower follow the process's locale, which Qt takes from the environment, and in a Turkish
// one 'I' does not become 'i'. Letters beyond ASCII (umlauts) are folded where names are
// compared (db::detail::foldName), not here.
namespace vb::ascii {

constexpr bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }
constexpr bool isDigit(char c) { return c >= '0' && c <= '9'; }
constexpr bool isAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
constexpr bool isAlnum(char c) { return isAlpha(c) || isDigit(c); }
constexpr char toLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
constexpr char toUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

inline std::string upper(std::string_view s) {
    std::string u(s);
    for (char& c : u) c = toUpper(c);
    return u;
}

inline std::string lower(std::string_view s) {
    std::string l(s);
    for (char& c : l) c = toLower(c);
    return l;
}

constexpr bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (toLower(a[i]) != toLower(b[i])) return false;
    return true;
}

}  // namespace vb::ascii
