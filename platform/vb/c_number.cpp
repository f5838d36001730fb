#include "platform/vb/c_number.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "platform/vb/ascii.h"

namespace vb {

namespace {

// For a text from_chars found out of range: true when it is too large, false when too small.
// The power of ten of its first significant digit decides.
bool tooLarge(std::string_view s) {
    long power = 0;
    bool seenPoint = false, seenDigit = false;
    long intDigits = 0, leadingFractionZeros = 0;
    size_t i = 0;
    for (; i < s.size() && s[i] != 'e' && s[i] != 'E'; ++i) {
        const char c = s[i];
        if (c == '.') seenPoint = true;
        else if (!ascii::isDigit(c)) continue;
        else if (!seenPoint) {
            if (seenDigit || c != '0') ++intDigits, seenDigit = true;
        } else if (!seenDigit) {
            if (c == '0') ++leadingFractionZeros;
            else seenDigit = true;
        }
    }
    power = intDigits > 0 ? intDigits - 1 : -(leadingFractionZeros + 1);
    long exponent = 0;
    bool negative = false;
    if (i < s.size()) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
        for (; i < s.size() && ascii::isDigit(s[i]); ++i)
            if (exponent < 1000000) exponent = exponent * 10 + (s[i] - '0');
    }
    return power + (negative ? -exponent : exponent) > 0;
}

}  // namespace

bool readCNumber(std::string_view s, double& out) {
    if (!s.empty() && s.front() == '+') {
        s.remove_prefix(1);
        if (!s.empty() && s.front() == '-') return false;
    }
    const bool negative = !s.empty() && s.front() == '-';
    const size_t first = negative ? 1 : 0;
    if (first >= s.size() || !(ascii::isDigit(s[first]) || s[first] == '.')) return false;
    double value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value, std::chars_format::general);
    if (ec == std::errc::invalid_argument || end != s.data() + s.size()) return false;
    if (ec == std::errc::result_out_of_range) {
        value = tooLarge(s) ? std::numeric_limits<double>::infinity() : 0.0;
        if (negative) value = -value;
    }
    out = value;
    return true;
}

std::string gText(double v, int digits) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, digits);
    std::string s(buf, r.ptr);
    for (char& c : s) c = ascii::toUpper(c);  // "e+20" as "E+20", as %G writes it
    return s;
}

std::string eText(double v, int decimals) {
    char buf[400];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, decimals);
    return std::string(buf, r.ptr);
}

}  // namespace vb
