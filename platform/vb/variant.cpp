#include "platform/vb/variant.h"

#include <cfenv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "platform/vb/c_number.h"
#include "platform/vb/error.h"
#include "platform/vb/locale.h"

namespace vb {

namespace {

// Round half to even, as the language's integer conversions do.
double bankersRound(double d) {
    const int saved = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double r = std::nearbyint(d);
    std::fesetround(saved);
    return r;
}

std::string trimBlanks(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
    return s.substr(b, e - b);
}

// Text as a number the way a conversion function reads it: blanks around, a sign, digits with
// the locale's decimal separator (a "." is read as decimal point too when it is the only mark).
bool parseNumber(const std::string& text, double& out) {
    std::string s = trimBlanks(text);
    if (s.empty()) return false;
    const char dec = decimalSeparator();
    const char group = dec == ',' ? '.' : ',';
    const bool hasDec = s.find(dec) != std::string::npos;
    std::string norm;
    norm.reserve(s.size());
    for (char c : s) {
        if (c == dec) norm += '.';
        else if (c == group) {
            if (hasDec) continue;  // thousands mark beside a decimal mark
            norm += (group == '.') ? '.' : c;
        } else norm += c;
    }
    return readCNumber(norm, out) && std::isfinite(out);
}

std::string formatDouble(double d, int digits) {
    if (d == 0) return "0";
    std::string s = gText(d, digits);
    // %G gives exponents like 1E+20; the language writes 1E+20 too, so keep them.
    const char dec = decimalSeparator();
    for (char& c : s)
        if (c == '.') c = dec;
    if (s.size() > 1 && s[0] == '0' && s[1] == dec) {
        // keep "0,85": the language writes the leading zero
    }
    return s;
}

// Days since 30.12.1899 to a civil date.
void civilFromSerial(double serial, int& y, int& m, int& d) {
    long days = static_cast<long>(std::floor(serial)) - 25569 + 719468;  // to days since 1.3.0000
    const long era = (days >= 0 ? days : days - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(days - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long yy = static_cast<long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yy + (m <= 2 ? 1 : 0));
}

}  // namespace

Variant::Variant(int64_t v) {
    if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max()) throw Error(err::Overflow);
    m_v = static_cast<int32_t>(v);
}

Variant::Type Variant::type() const {
    switch (m_v.index()) {
    case 0: return Type::Empty;
    case 1: return Type::Null;
    case 2: return Type::Integer;
    case 3: return Type::Long;
    case 4: return Type::Single;
    case 5: return Type::Double;
    case 6: return Type::Boolean;
    case 7: return Type::String;
    default: return Type::Date;
    }
}

bool Variant::isNumeric() const {
    switch (type()) {
    case Type::Integer:
    case Type::Long:
    case Type::Single:
    case Type::Double:
    case Type::Boolean: return true;
    case Type::String: {
        double d;
        return parseNumber(*stringPtr(), d);
    }
    default: return false;
    }
}

double Variant::toDouble() const {
    switch (type()) {
    case Type::Empty: return 0;
    case Type::Null: throw Error(err::InvalidUseOfNull);
    case Type::Integer: return std::get<int16_t>(m_v);
    case Type::Long: return std::get<int32_t>(m_v);
    case Type::Single: return std::get<float>(m_v);
    case Type::Double: return std::get<double>(m_v);
    case Type::Boolean: return std::get<BoolValue>(m_v).v ? -1 : 0;
    case Type::String: {
        double d;
        if (!parseNumber(std::get<std::string>(m_v), d)) throw Error(err::TypeMismatch);
        return d;
    }
    case Type::Date: return std::get<DateValue>(m_v).serial;
    }
    return 0;
}

int16_t Variant::toInt() const {
    if (type() == Type::Integer) return std::get<int16_t>(m_v);
    const double r = bankersRound(toDouble());
    if (r < -32768.0 || r > 32767.0) throw Error(err::Overflow);
    return static_cast<int16_t>(r);
}

int32_t Variant::toLong() const {
    if (type() == Type::Long) return std::get<int32_t>(m_v);
    const double r = bankersRound(toDouble());
    if (r < -2147483648.0 || r > 2147483647.0) throw Error(err::Overflow);
    return static_cast<int32_t>(r);
}

float Variant::toSingle() const {
    const double d = toDouble();
    if (std::fabs(d) > std::numeric_limits<float>::max()) throw Error(err::Overflow);
    return static_cast<float>(d);
}

bool Variant::toBool() const {
    if (type() == Type::Boolean) return std::get<BoolValue>(m_v).v;
    if (type() == Type::String) {
        const std::string s = trimBlanks(std::get<std::string>(m_v));
        if (s == "True" || s == "Wahr" || s == "true") return true;
        if (s == "False" || s == "Falsch" || s == "false") return false;
    }
    return toDouble() != 0;
}

std::string Variant::toString() const {
    switch (type()) {
    case Type::Empty: return {};
    case Type::Null: throw Error(err::InvalidUseOfNull);
    case Type::Integer: return std::to_string(std::get<int16_t>(m_v));
    case Type::Long: return std::to_string(std::get<int32_t>(m_v));
    case Type::Single: return formatDouble(std::get<float>(m_v), 7);
    case Type::Double: return formatDouble(std::get<double>(m_v), 15);
    case Type::Boolean: return std::get<BoolValue>(m_v).v ? "Wahr" : "Falsch";
    case Type::String: return std::get<std::string>(m_v);
    case Type::Date: {
        int y, m, d;
        civilFromSerial(std::get<DateValue>(m_v).serial, y, m, d);
        char buf[48];
        std::snprintf(buf, sizeof buf, "%02d.%02d.%04d", d, m, y);
        return buf;
    }
    }
    return {};
}

Variant::DateValue Variant::toDate() const {
    if (type() == Type::Date) return std::get<DateValue>(m_v);
    return DateValue{toDouble()};
}

std::string concat(const Variant& a, const Variant& b) { return textOrEmpty(a) + textOrEmpty(b); }

}  // namespace vb
