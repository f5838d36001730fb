#include <gtest/gtest.h>

#include "platform/vb/datetime.h"
#include "platform/vb/format.h"
#include "platform/vb/locale.h"

using namespace vb;

namespace {
struct GermanNumbers {
    GermanNumbers() { setDecimalSeparator(','); }
    ~GermanNumbers() { setDecimalSeparator(0); }
};
}  // namespace

TEST(Format, WholeNumberPatternsKeepExtraDigits) {
    EXPECT_EQ(Format(Variant(int16_t(7)), "00"), "07");
    EXPECT_EQ(Format(Variant(int16_t(126)), "00"), "126");
    EXPECT_EQ(Format(Variant(int32_t(14)), "000"), "014");
    EXPECT_EQ(Format(Variant(0.0), "00"), "00");
    EXPECT_EQ(Format(Variant(2.5), "00"), "03");  // halves away from zero, unlike CInt
}

TEST(Format, DecimalPatternsUseTheLocaleSeparatorAndRoundHalfAwayFromZero) {
    GermanNumbers de;
    EXPECT_EQ(Format(Variant(3.0 / 14), " 0.000 "), " 0,214 ");
    EXPECT_EQ(Format(Variant(1.0), "  0.000"), "  1,000");
    EXPECT_EQ(Format(Variant(1.4), "00.00"), "01,40");
    EXPECT_EQ(Format(Variant(0.0), "00.00"), "00,00");
    EXPECT_EQ(Format(Variant(-12.5), "000.00"), "-012,50");
    EXPECT_EQ(Format(Variant(100.0), "000.00"), "100,00");
    EXPECT_EQ(Format(Variant(50.0), "000.0"), "050,0");
    EXPECT_EQ(Format(Variant(0.12345), "0.0000"), "0,1235");
    EXPECT_EQ(Format(Variant(2.675), "0.00"), "2,68");
    EXPECT_EQ(Format(Variant(9.9996), "0.000"), "10,000");
    EXPECT_EQ(Format(Variant(-0.0001), "0.00"), "0,00");
    EXPECT_EQ(Format(Variant(1234567.891), "#,##0.00"), "1.234.567,89");
    EXPECT_EQ(Format(Variant(1e20), "0.00"), "100000000000000000000,00");
    setDecimalSeparator('.');
    EXPECT_EQ(Format(Variant(1.4), "00.00"), "01.40");
}

TEST(Format, PercentAndTextValues) {
    GermanNumbers de;
    EXPECT_EQ(Format(Variant(3.0 / 14), "Percent"), "21,43%");
    EXPECT_EQ(Format(Variant(1.0), "percent"), "100,00%");
    EXPECT_EQ(Format(Variant(0.5), "0%"), "50%");
    // A formatted number formatted once more is read back in the locale.
    EXPECT_EQ(Format(Variant(Format(Variant(1.4), "00.00")), "000.00"), "001,40");
    EXPECT_EQ(Format(Variant("abc"), "00.00"), "abc");
    EXPECT_EQ(Format(Variant::null(), "00.00"), "");
    EXPECT_EQ(Format(Variant(2.5), ""), "2,5");
}

TEST(Format, DatesAndTimes) {
    const Variant d = DateSerial(2026, 3, 8);
    EXPECT_EQ(Format(d, "dd.mm.yyyy"), "08.03.2026");
    EXPECT_EQ(Format(d, "d.m.yy"), "8.3.26");
    EXPECT_EQ(Format(Variant(Variant::DateValue{d.toDate().serial + 0.5 + 5.0 / 1440}), "hh:mm"), "12:05");
    EXPECT_EQ(Format(Variant(Variant::DateValue{d.toDate().serial + 0.75}), "dd.mm.yyyy hh:nn:ss"),
              "08.03.2026 18:00:00");
    EXPECT_EQ(Format(DateSerial(2024, 2, 29), "dd.mm.yyyy"), "29.02.2024");
    EXPECT_EQ(Format(DateSerial(2025, 13, 1), "dd.mm.yyyy"), "01.01.2026");
    EXPECT_EQ(Format(DateSerial(1899, 12, 30), "dd.mm.yyyy"), "30.12.1899");
    EXPECT_EQ(Format(DateSerial(1850, 6, 1), "dd.mm.yyyy"), "01.06.1850");
    EXPECT_EQ(Format(d), "08.03.2026");
}

TEST(Dates, ClockCanBeFixedAndDateDollarIsMonthFirst) {
    setClock([] { return DateSerial(2026, 3, 8).toDate().serial + 0.25; });
    EXPECT_EQ(Format(Date(), "dd.mm.yyyy"), "08.03.2026");
    EXPECT_EQ(DateDollar(), "03-08-2026");
    EXPECT_EQ(Hour(Now()), 6);
    EXPECT_EQ(Hour(Date()), 0);
    EXPECT_EQ(Year(Now()), 2026);
    EXPECT_EQ(Month(Now()), 3);
    EXPECT_EQ(Day(Now()), 8);
    setClock({});
    EXPECT_GE(Year(Now()), 2024);
}
