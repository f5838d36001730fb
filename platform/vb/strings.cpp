#include "platform/vb/strings.h"

#include <QChar>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/vb/c_number.h"
#include "platform/vb/codepage.h"
#include "platform/vb/error.h"
#include "platform/vb/utf8.h"

namespace vb {

namespace {

// Str's number text: "." as decimal point, no zero before it, a blank or "-" in front.
std::string strOf(double v, int digits) {
    if (!std::isfinite(v)) throw Error(err::Overflow);
    if (v == 0) return " 0";
    std::string s = gText(std::fabs(v), digits);
    if (s.size() > 1 && s[0] == '0' && s[1] == '.') s.erase(0, 1);
    return (v < 0 ? "-" : " ") + s;
}

template <typename F>
std::string mapLetters(const std::string& s, F f) {
    std::string out;
    out.reserve(s.size());
    size_t pos = 0;
    while (pos < s.size()) {
        const size_t start = pos;
        bool valid = true;
        const char32_t c = utf8::next(s, pos, &valid);
        if (!valid) out.append(s, start, pos - start);
        else utf8::append(out, f(c));
    }
    return out;
}

}  // namespace

std::string Str(double v) { return strOf(v, 15); }
std::string Str(float v) { return strOf(v, 7); }
std::string Str(long long v) {
    // Appended rather than inserted in front: GCC 12 warns falsely (-Wrestrict) on the insert.
    std::string s(v < 0 ? "" : " ");
    s += std::to_string(v);
    return s;
}
std::string Str(int v) { return Str(static_cast<long long>(v)); }
std::string Str(long v) { return Str(static_cast<long long>(v)); }

std::string Str(const Variant& v) {
    switch (v.type()) {
    case Variant::Type::Integer:
    case Variant::Type::Long:
    case Variant::Type::Boolean: return Str(static_cast<long>(v.toLong()));
    case Variant::Type::Single: return Str(v.toSingle());
    case Variant::Type::Empty: return " 0";
    default: return Str(v.toDouble());
    }
}

double Val(const std::string& text) {
    std::string s;
    s.reserve(text.size());
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n') s += c;

    if (s.size() >= 2 && s[0] == '&' && (s[1] == 'H' || s[1] == 'h' || s[1] == 'O' || s[1] == 'o')) {
        const bool hex = s[1] == 'H' || s[1] == 'h';
        const int base = hex ? 16 : 8;
        unsigned long long value = 0;
        size_t i = 2;
        int digits = 0;
        for (; i < s.size(); ++i) {
            const char c = s[i];
            int d;
            if (c >= '0' && c <= '9') d = c - '0';
            else if (hex && c >= 'a' && c <= 'f') d = c - 'a' + 10;
            else if (hex && c >= 'A' && c <= 'F') d = c - 'A' + 10;
            else break;
            if (d >= base) break;
            value = value * base + d;
            if (value > 0xFFFFFFFFull) throw Error(err::Overflow);
            ++digits;
        }
        // Up to 16 bits the value is an Integer, up to 32 bits a Long: the top bit is the sign.
        if (value <= 0xFFFF && (hex ? digits <= 4 : value <= 0xFFFF)) return static_cast<int16_t>(value);
        return static_cast<int32_t>(static_cast<uint32_t>(value));
    }

    std::string num;
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) num += s[i++];
    bool any = false;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') num += s[i++], any = true;
    if (i < s.size() && s[i] == '.') {
        num += s[i++];
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') num += s[i++], any = true;
    }
    if (!any) return 0;
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
        std::string exp = "E";
        size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) exp += s[j++];
        bool expDigits = false;
        while (j < s.size() && s[j] >= '0' && s[j] <= '9') exp += s[j++], expDigits = true;
        if (expDigits) num += exp;
    }
    double d = 0;
    readCNumber(num, d);
    if (!std::isfinite(d)) throw Error(err::Overflow);
    return d;
}

std::string UCase(const std::string& s) {
    return mapLetters(s, [](char32_t c) { return c == U'ß' ? c : static_cast<char32_t>(QChar::toUpper(c)); });
}

std::string LCase(const std::string& s) {
    return mapLetters(s, [](char32_t c) { return static_cast<char32_t>(QChar::toLower(c)); });
}

std::string LTrim(const std::string& s) {
    const size_t b = s.find_first_not_of(' ');
    return b == std::string::npos ? std::string() : s.substr(b);
}

std::string RTrim(const std::string& s) {
    const size_t e = s.find_last_not_of(' ');
    return e == std::string::npos ? std::string() : s.substr(0, e + 1);
}

std::string Trim(const std::string& s) { return LTrim(RTrim(s)); }

std::string Left(const std::string& s, int length) {
    if (length < 0) throw Error(err::InvalidProcedureCall);
    return s.substr(0, utf8::offsetOf(s, static_cast<size_t>(length)));
}

std::string Right(const std::string& s, int length) {
    if (length < 0) throw Error(err::InvalidProcedureCall);
    const size_t n = utf8::length(s);
    if (static_cast<size_t>(length) >= n) return s;
    return s.substr(utf8::offsetOf(s, n - static_cast<size_t>(length)));
}

std::string Mid(const std::string& s, int start, int length) {
    if (start < 1 || length < -1) throw Error(err::InvalidProcedureCall);
    const size_t b = utf8::offsetOf(s, static_cast<size_t>(start - 1));
    if (length == -1) return s.substr(b);
    size_t e = b;
    for (int i = 0; i < length && e < s.size(); ++i) utf8::next(s, e);
    return s.substr(b, e - b);
}

int Len(const std::string& s) { return static_cast<int>(utf8::length(s)); }

int InStr(const std::string& text, const std::string& find) { return InStr(1, text, find); }

int InStr(int start, const std::string& text, const std::string& find) {
    if (start < 1) throw Error(err::InvalidProcedureCall);
    if (text.empty()) return 0;
    const size_t n = utf8::length(text);
    if (static_cast<size_t>(start) > n) return 0;
    if (find.empty()) return start;
    const size_t from = utf8::offsetOf(text, static_cast<size_t>(start - 1));
    // Search by whole characters so that a match never begins inside a character.
    size_t pos = from;
    int index = start;
    while (pos < text.size()) {
        if (text.compare(pos, find.size(), find) == 0) return index;
        utf8::next(text, pos);
        ++index;
    }
    return 0;
}

std::string Replace(const std::string& text, const std::string& find, const std::string& with) {
    if (find.empty()) return text;
    std::string out;
    out.reserve(text.size());
    size_t pos = 0;
    while (true) {
        const size_t hit = text.find(find, pos);
        if (hit == std::string::npos) break;
        out.append(text, pos, hit - pos);
        out += with;
        pos = hit + find.size();
    }
    out.append(text, pos);
    return out;
}

std::string Space(int n) {
    if (n < 0) throw Error(err::InvalidProcedureCall);
    return std::string(static_cast<size_t>(n), ' ');
}

std::string String(int n, const std::string& ch) {
    if (n < 0 || ch.empty()) throw Error(err::InvalidProcedureCall);
    const std::string one = Left(ch, 1);
    std::string out;
    out.reserve(one.size() * static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) out += one;
    return out;
}

std::string Chr(int code) {
    if (code < 0 || code > 255) throw Error(err::InvalidProcedureCall);
    return toUtf8(std::string(1, static_cast<char>(code)), CodePage::Windows1252);
}

int Asc(const std::string& s) {
    if (s.empty()) throw Error(err::InvalidProcedureCall);
    const std::string b = fromUtf8(Left(s, 1), CodePage::Windows1252);
    return b.empty() ? 63 : static_cast<unsigned char>(b[0]);
}

std::string excerpt(const std::string& text, size_t maxChars) {
    // Characters, not bytes, decide the length; the walk stops early so a huge text costs little.
    std::vector<char32_t> head, tail;
    const size_t tailChars = maxChars >= 40 ? 20 : maxChars / 4;
    const size_t headChars = maxChars - tailChars;
    size_t count = 0;
    size_t pos = 0;
    auto visible = [](char32_t c, bool valid) -> char32_t {
        if (!valid) return 0xFFFD;
        if (c < 0x20) return 0x2400 + c;
        if (c == 0x7F) return 0x2421;
        if (c >= 0x80 && c < 0xA0) return 0xFFFD;
        return c;
    };
    while (pos < text.size() && count <= maxChars) {
        bool valid = true;
        const char32_t c = utf8::next(text, pos, &valid);
        head.push_back(visible(c, valid));
        ++count;
    }
    std::string out;
    if (count <= maxChars) {
        for (char32_t c : head) utf8::append(out, c);
        return out;
    }
    head.resize(headChars);
    // The end of a long text: step back from the end character by character (a character starts
    // at a byte that is no continuation byte).
    size_t start = text.size();
    for (size_t n = 0; n < tailChars && start > 0; ++n) {
        --start;
        for (int k = 0; k < 3 && start > 0 && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80; ++k) --start;
    }
    for (size_t p = start; p < text.size();) {
        bool valid = true;
        const char32_t c = utf8::next(text, p, &valid);
        tail.push_back(visible(c, valid));
    }
    for (char32_t c : head) utf8::append(out, c);
    out += "\u2026";
    for (char32_t c : tail) utf8::append(out, c);
    return out;
}

}  // namespace vb
