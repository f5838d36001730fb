// Numbers and letters by the program's own rules: the same texts and values in every locale the
// C library may be set to, with the decimal separator of the regional settings put in only where
// the language asks for it.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/vb/ascii.h"
#include "platform/vb/c_number.h"
#include "platform/vb/format.h"
#include "platform/vb/locale.h"
#include "platform/vb/strings.h"
#include "support/gebietsschema.h"
#include "support/vb_error.h"

using namespace vb;

namespace {

// Everything a page, a report or a stored field makes of numbers, in the separator's convention.
std::vector<std::string> zahlentexte() {
    std::vector<std::string> t;
    auto zahl = [&](double d) { t.push_back(Str(d)); };
    for (const char* p : {" 0.000", "00.00", "000.0", "0.0000", "#,##0.00", "0.00%", "00"})
        for (double d : {0.85, 3.0 / 14, -12.5, 2.675, 1234567.891, 0.0, 1e20}) t.push_back(Format(Variant(d), p));
    for (double d : {0.85, -0.5, 1e20, 1e-5, 123456789012345.0}) {
        zahl(d);
        t.push_back(CStr(Variant(d)));
        t.push_back(CStr(Variant(static_cast<float>(d))));
        t.push_back(Str(static_cast<float>(d)));
    }
    for (const char* s : {"0,85", "0.85", "1.234,5", "-2,5E+3", "1e-400", " 7 "}) {
        const Variant v(s);
        t.push_back(v.isNumeric() ? gText(CDbl(v), 17) + " " + gText(CSng(v), 9) : "-");
    }
    for (const char* s : {"1.4", "  -3.5kg", "1e2", "1D2", "&H10", ".5"}) t.push_back(gText(Val(s), 17));
    return t;
}

}  // namespace

TEST(Gebietsschema, TheSuiteRunsInTheLocaleItsEnvironmentNames) {
    const char* name = std::getenv("LC_ALL");
    if (!name || !*name) GTEST_SKIP() << "no LC_ALL";
    // Qt set the C library's locale from the environment; a missing locale would leave "C".
    EXPECT_STREQ(std::setlocale(LC_ALL, nullptr), name) << "the locale " << name << " is missing (make deps)";
    const std::string n = name;
    setDecimalSeparator(0);  // the regional settings again
    EXPECT_EQ(decimalSeparator(), n.rfind("de_", 0) == 0 || n.rfind("tr_", 0) == 0 ? ',' : '.') << n;
}

TEST(Gebietsschema, NumbersAreReadAndWrittenAlikeInEveryLocale) {
    const char vorher = decimalSeparator();
    for (char sep : {',', '.'}) {
        SCOPED_TRACE(std::string("separator ") + sep);
        setDecimalSeparator(sep);
        std::vector<std::string> soll;
        {
            support::Gebietsschema c("C");
            soll = zahlentexte();
        }
        for (const std::string& name : support::gebietsschemata()) {
            SCOPED_TRACE(name);
            support::Gebietsschema g(name);
            EXPECT_EQ(zahlentexte(), soll);
            EXPECT_EQ(CStr(Variant(0.85)), sep == ',' ? "0,85" : "0.85");
            EXPECT_EQ(Format(Variant(1234567.891), "#,##0.00"), sep == ',' ? "1.234.567,89" : "1,234,567.89");
            EXPECT_EQ(Str(0.85), " .85");
            EXPECT_EQ(Val("108.6"), 108.6);
            // The threshold lists hold the numbers' own texts, which read back as the same Single.
            EXPECT_EQ(CSng(Variant(CStr(Variant(0.85)))), 0.85f);
            EXPECT_EQ(CSng(Variant(CStr(Variant(-0.05)))), -0.05f);
            EXPECT_EQ(errorOf([] { (void)Val("1e999"); }), vb::err::Overflow);
        }
    }
    setDecimalSeparator(vorher);
}

TEST(Gebietsschema, CNumbersAreTheNotationOfTheProgramsOwnTexts) {
    support::Gebietsschema de("de_DE.UTF-8");
    double d = -1;
    EXPECT_TRUE(readCNumber("0.85", d));
    EXPECT_EQ(d, 0.85);
    EXPECT_TRUE(readCNumber("+1.5E+3", d));
    EXPECT_EQ(d, 1500);
    EXPECT_TRUE(readCNumber("-.5", d));
    EXPECT_EQ(d, -0.5);
    EXPECT_TRUE(readCNumber("1e999", d));
    EXPECT_EQ(d, std::numeric_limits<double>::infinity());
    EXPECT_TRUE(readCNumber("-1e999", d));
    EXPECT_EQ(d, -std::numeric_limits<double>::infinity());
    EXPECT_TRUE(readCNumber("0.0001e-400", d));
    EXPECT_EQ(d, 0);
    EXPECT_TRUE(readCNumber("123456e-330", d));
    EXPECT_EQ(d, 0);
    EXPECT_TRUE(readCNumber("0.00001e330", d));
    EXPECT_EQ(d, std::numeric_limits<double>::infinity());
    for (const char* kein : {"", "0,85", "+-1", "inf", "nan", "0x10", " 1", "1 ", ".", "-", "1e"}) {
        EXPECT_FALSE(readCNumber(kein, d)) << kein;
    }
    EXPECT_EQ(gText(0.85, 15), "0.85");
    EXPECT_EQ(gText(1e20, 15), "1E+20");
    EXPECT_EQ(gText(1.0f / 3, 7), "0.3333333");
    EXPECT_EQ(gText(123456789, 7), "1.234568E+08");
    EXPECT_EQ(eText(150, 5), "1.50000e+02");
}

TEST(Gebietsschema, LettersAndBlanksOfNamesAreAsciiInEveryLocale) {
    support::Gebietsschema tr("tr_TR.UTF-8");
    EXPECT_EQ(ascii::upper("DialogTxt insert into distinct"), "DIALOGTXT INSERT INTO DISTINCT");
    EXPECT_EQ(ascii::lower("DIALOGTXTTYPEN LIKE IN"), "dialogtxttypen like in");
    EXPECT_TRUE(ascii::equalsNoCase("Einstellungen", "EINSTELLUNGEN"));
    EXPECT_FALSE(ascii::equalsNoCase("Titel", "Title"));
    EXPECT_EQ(ascii::upper("Größe"), "GRößE");  // letters beyond ASCII are left to the name fold
    EXPECT_TRUE(ascii::isSpace('\t') && ascii::isSpace('\n') && !ascii::isSpace('\xa0'));
    EXPECT_FALSE(ascii::isAlpha('\xe4'));
    EXPECT_TRUE(ascii::isAlnum('7') && !ascii::isDigit('x'));
}
