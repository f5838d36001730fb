#pragma once

#include <functional>
#include <string>

#include "platform/vb/variant.h"

// Dates as the programs' language keeps them: a Double counting days since 30.12.1899, the
// fraction being the time of day.
namespace vb {

struct CivilTime {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0;
};

CivilTime civilOf(double serial);
double serialOf(const CivilTime& t);

Variant DateSerial(int year, int month, int day);  // month and day may run over, as the language allows
Variant Now();                                     // date and time of the local clock
Variant Date();                                    // today, no time

// Date$: today as "mm-dd-yyyy".
std::string DateDollar();

// Tests fix "now" (a serial); an empty function goes back to the real clock.
void setClock(std::function<double()> now);

int Year(const Variant& v);
int Month(const Variant& v);
int Day(const Variant& v);
int Hour(const Variant& v);

}  // namespace vb
