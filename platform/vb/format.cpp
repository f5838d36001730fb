#include "platform/vb/format.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "platform/vb/ascii.h"
#include "platform/vb/c_number.h"
#include "platform/vb/datetime.h"
#include "platform/vb/error.h"
#include "platform/vb/locale.h"

namespace vb {

namespace {

bool isDatePattern(const std::string& p) {
    for (char c : p) {
        switch (ascii::toLower(c)) {
        case 'd':
        case 'm':
        case 'y':
        case 'h':
        case 'n':
        case 's': return true;
        default: break;
        }
    }
    return false;
}

// Adds one unit in the last place of a digit string; returns true when a digit was carried out front.
bool incrementDigits(std::string& digits) {
    for (size_t i = digits.size(); i-- > 0;) {
        if (digits[i] == '9') {
            digits[i] = '0';
        } else {
            ++digits[i];
            return false;
        }
    }
    digits.insert(digits.begin(), '1');
    return true;
}

// |v| as integer and fraction digits, rounded half away from zero to `decimals` places. The value
// is first taken to 15 significant digits, the precision its text has, so that 2.675 rounds as the
// number a person reads and not as its binary neighbour 2.67499999….
void decimalDigits(double v, int decimals, std::string& intPart, std::string& fracPart) {
    if (!std::isfinite(v)) throw Error(err::Overflow);
    const std::string e = eText(std::fabs(v), 14);  // "d.dddddddddddddde+XX"
    std::string digits;
    digits += e[0];
    digits.append(e, 2, 14);
    const size_t at = e.find('e') + 1;
    int exp = 0;
    std::from_chars(e.data() + at + (e[at] == '+' ? 1 : 0), e.data() + e.size(), exp);
    const int point = exp + 1;  // digits before the decimal point
    if (point <= 0) {
        intPart.assign(1, '0');
        fracPart.assign(static_cast<size_t>(-point), '0');
        fracPart += digits;
    } else if (point >= static_cast<int>(digits.size())) {
        intPart = digits + std::string(static_cast<size_t>(point) - digits.size(), '0');
        fracPart.clear();
    } else {
        intPart = digits.substr(0, static_cast<size_t>(point));
        fracPart = digits.substr(static_cast<size_t>(point));
    }
    if (static_cast<int>(fracPart.size()) > decimals) {
        const bool up = fracPart[static_cast<size_t>(decimals)] >= '5';
        fracPart.resize(static_cast<size_t>(decimals));
        if (up) {
            std::string all = intPart + fracPart;
            const bool grew = incrementDigits(all);
            const size_t intLen = intPart.size() + (grew ? 1 : 0);
            intPart = all.substr(0, intLen);
            fracPart = all.substr(intLen);
        }
    }
    const size_t nz = intPart.find_first_not_of('0');
    intPart = nz == std::string::npos ? std::string() : intPart.substr(nz);
}

std::string formatNumber(double v, const std::string& pattern) {
    // Split the pattern into literal text before, the digit part and literal text after.
    size_t first = std::string::npos, last = std::string::npos;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c == '0' || c == '#' || ((c == '.' || c == ',') && first != std::string::npos)) {
            if (first == std::string::npos) first = i;
            last = i;
        } else if (c == '.' && first == std::string::npos) {
            first = last = i;  // ".00": no integer digits
        }
    }
    if (first == std::string::npos) {
        // No digit place at all: the literal text stands for the number.
        return pattern;
    }
    const std::string before = pattern.substr(0, first);
    const std::string core = pattern.substr(first, last - first + 1);
    const std::string after = pattern.substr(last + 1);
    if (before.find('%') != std::string::npos || after.find('%') != std::string::npos) v *= 100;

    int minInt = 0, minDec = 0, maxDec = 0;
    bool seenPoint = false, grouping = false;
    for (char c : core) {
        if (c == '.') seenPoint = true;
        else if (c == ',' && !seenPoint) grouping = true;
        else if (c == '0') (seenPoint ? (++minDec, ++maxDec) : ++minInt);
        else if (c == '#' && seenPoint) ++maxDec;
    }

    std::string intPart, fracPart;
    decimalDigits(v, maxDec, intPart, fracPart);
    while (static_cast<int>(fracPart.size()) > minDec && fracPart.back() == '0') fracPart.pop_back();
    if (static_cast<int>(fracPart.size()) < minDec) fracPart.append(static_cast<size_t>(minDec) - fracPart.size(), '0');
    if (static_cast<int>(intPart.size()) < minInt) intPart.insert(0, static_cast<size_t>(minInt) - intPart.size(), '0');

    const char dec = decimalSeparator();
    if (grouping && intPart.size() > 3) {
        const char group = dec == ',' ? '.' : ',';
        std::string g;
        const size_t n = intPart.size();
        for (size_t i = 0; i < n; ++i) {
            if (i > 0 && (n - i) % 3 == 0) g += group;
            g += intPart[i];
        }
        intPart = g;
    }
    const bool zero = intPart.find_first_not_of("0.,") == std::string::npos &&
                      fracPart.find_first_not_of('0') == std::string::npos;
    std::string out = (v < 0 && !zero) ? "-" : "";
    out += before + intPart;
    if (!fracPart.empty()) out += dec + fracPart;
    out += after;
    return out;
}

std::string two(int n) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", n);
    return buf;
}

std::string formatDate(double serial, const std::string& p) {
    const CivilTime t = civilOf(serial);
    std::string out;
    bool afterHour = false;
    for (size_t i = 0; i < p.size();) {
        const char c = ascii::toLower(p[i]);
        size_t run = 1;
        while (i + run < p.size() && ascii::toLower(p[i + run]) == c) ++run;
        switch (c) {
        case 'd': out += run >= 2 ? two(t.day) : std::to_string(t.day); break;
        case 'y': out += run >= 3 ? std::to_string(t.year) : two(t.year % 100); break;
        case 'h': out += run >= 2 ? two(t.hour) : std::to_string(t.hour); break;
        case 'n': out += run >= 2 ? two(t.minute) : std::to_string(t.minute); break;
        case 's': out += run >= 2 ? two(t.second) : std::to_string(t.second); break;
        case 'm':
            if (afterHour) out += run >= 2 ? two(t.minute) : std::to_string(t.minute);
            else out += run >= 2 ? two(t.month) : std::to_string(t.month);
            break;
        default: out.append(p, i, run); break;
        }
        if (c == 'h') afterHour = true;
        else if (c != ':' && c != ' ' && c != '.') afterHour = false;
        i += run;
    }
    return out;
}

std::string generalDate(double serial) {
    const CivilTime t = civilOf(serial);
    std::string out;
    if (std::trunc(serial) != 0 || serial == 0) out = formatDate(serial, "dd.mm.yyyy");
    if (t.hour || t.minute || t.second) {
        if (!out.empty()) out += ' ';
        out += formatDate(serial, "hh:nn:ss");
    }
    return out;
}

}  // namespace

std::string Format(const Variant& value, const std::string& pattern) {
    if (value.isNull()) return {};
    const bool isDate = value.type() == Variant::Type::Date;
    if (pattern.empty()) return isDate ? generalDate(value.toDate().serial) : value.toString();
    if (ascii::equalsNoCase(pattern, "Percent")) return Format(value, "0.00%");
    if (isDatePattern(pattern)) {
        if (value.isString() && !value.isNumeric()) return *value.stringPtr();
        return formatDate(value.toDate().serial, pattern);
    }
    if (value.isString() && !value.isNumeric()) return *value.stringPtr();
    return formatNumber(value.toDouble(), pattern);
}

}  // namespace vb
