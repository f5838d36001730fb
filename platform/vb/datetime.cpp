#include "platform/vb/datetime.h"

#include <cmath>
#include <cstdio>
#include <ctime>

namespace vb {

namespace {

std::function<double()>& clock() {
    static std::function<double()> f;
    return f;
}

// Days since 1.1.1970 for a civil date (proleptic Gregorian).
long daysFromCivil(long y, long m, long d) {
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void civilFromDays(long z, int& y, int& m, int& d) {
    z += 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const long doe = z - era * 146097;
    const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yoe + era * 400 + (m <= 2 ? 1 : 0));
}

constexpr long kSerialEpoch = -25569;  // 30.12.1899 in days since 1.1.1970

double serialOfVariant(const Variant& v) { return v.toDate().serial; }

}  // namespace

CivilTime civilOf(double serial) {
    // The whole part counts days (negative before the epoch); the fraction is always the time.
    const double whole = std::trunc(serial);
    double frac = std::fabs(serial - whole);
    long secs = std::lround(frac * 86400.0);
    long days = static_cast<long>(whole);
    if (secs >= 86400) {
        secs -= 86400;
        days += serial < 0 ? -1 : 1;
    }
    CivilTime t;
    civilFromDays(days + kSerialEpoch, t.year, t.month, t.day);
    t.hour = static_cast<int>(secs / 3600);
    t.minute = static_cast<int>(secs / 60 % 60);
    t.second = static_cast<int>(secs % 60);
    return t;
}

double serialOf(const CivilTime& t) {
    // Months beyond 12 or below 1 move the year, days beyond the month move on.
    long y = t.year, m = t.month - 1;
    y += m >= 0 ? m / 12 : (m - 11) / 12;
    m = ((m % 12) + 12) % 12 + 1;
    const long days = daysFromCivil(y, m, 1) + (t.day - 1) - kSerialEpoch;
    const double time = (t.hour * 3600.0 + t.minute * 60.0 + t.second) / 86400.0;
    return days < 0 ? days - time : days + time;
}

Variant DateSerial(int year, int month, int day) {
    CivilTime t;
    t.year = year, t.month = month, t.day = day;
    return Variant(Variant::DateValue{serialOf(t)});
}

Variant Now() {
    if (clock()) return Variant(Variant::DateValue{clock()()});
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    CivilTime t;
    t.year = tm.tm_year + 1900, t.month = tm.tm_mon + 1, t.day = tm.tm_mday;
    t.hour = tm.tm_hour, t.minute = tm.tm_min, t.second = tm.tm_sec;
    return Variant(Variant::DateValue{serialOf(t)});
}

Variant Date() { return Variant(Variant::DateValue{std::floor(Now().toDate().serial)}); }

std::string DateDollar() {
    const CivilTime t = civilOf(Date().toDate().serial);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d-%02d-%04d", t.month, t.day, t.year);
    return buf;
}

void setClock(std::function<double()> now) { clock() = std::move(now); }

int Year(const Variant& v) { return civilOf(serialOfVariant(v)).year; }
int Month(const Variant& v) { return civilOf(serialOfVariant(v)).month; }
int Day(const Variant& v) { return civilOf(serialOfVariant(v)).day; }
int Hour(const Variant& v) { return civilOf(serialOfVariant(v)).hour; }

}  // namespace vb
