#include <gtest/gtest.h>

#include "support/vb_error.h"
#include "platform/vb/codepage.h"
#include "platform/vb/color.h"
#include "platform/vb/error.h"
#include "platform/vb/locale.h"
#include "platform/vb/strings.h"

using namespace vb;

TEST(Strings, StrPutsABlankWhereTheSignWouldStandAndCStrDoesNot) {
    setDecimalSeparator(',');
    EXPECT_EQ(Str(5), " 5");
    EXPECT_EQ(Str(-7), "-7");
    EXPECT_EQ(Str(0), " 0");
    EXPECT_EQ("personid = " + Str(17L), "personid =  17");
    EXPECT_EQ(Str(2.5), " 2.5");   // Str ignores the locale
    EXPECT_EQ(Str(0.85), " .85");  // and writes no zero before the point
    EXPECT_EQ(Str(-0.5), "-.5");
    EXPECT_EQ(Str(0.85f), " .85");
    EXPECT_EQ(Str(1e20), " 1E+20");
    EXPECT_EQ(CStr(Variant(int16_t(5))), "5");
    EXPECT_EQ(CStr(Variant(2.5)), "2,5");
    EXPECT_EQ(errorOf([] { (void)CStr(Variant::null()); }), vb::err::InvalidUseOfNull);
    setDecimalSeparator('.');
}

TEST(Strings, ValReadsTheLeadingNumberAndNeverTheLocale) {
    setDecimalSeparator(',');
    EXPECT_EQ(Val("1.4"), 1.4);
    EXPECT_EQ(Val("108.6"), 108.6);
    EXPECT_EQ(Val("1,5"), 1);
    EXPECT_EQ(Val("abc"), 0);
    EXPECT_EQ(Val(""), 0);
    EXPECT_EQ(Val("1e2"), 100);
    EXPECT_EQ(Val("1D2"), 100);
    EXPECT_EQ(Val("&H10"), 16);
    EXPECT_EQ(Val("&HFFFF"), -1);
    EXPECT_EQ(Val("&O17"), 15);
    EXPECT_EQ(Val("1 0"), 10);
    EXPECT_EQ(Val("  -3.5kg"), -3.5);
    EXPECT_EQ(Val(".5"), 0.5);
    EXPECT_EQ(Val("1e"), 1);
    EXPECT_EQ(Val("- 2"), -2);
    EXPECT_EQ(errorOf([] { (void)Val("1e999"); }), vb::err::Overflow);
    setDecimalSeparator('.');
}

TEST(Strings, CaseAndTrimWorkOnLettersAndBlanksOnly) {
    EXPECT_EQ(UCase("müller straße/ä"), "MÜLLER STRAßE/Ä");
    EXPECT_EQ(LCase("ÄÖÜ Abc"), "äöü abc");
    EXPECT_EQ(UCase(std::string("a\xff"
                                "b")),
              "A\xff"
              "B");  // bytes that are no UTF-8 stay
    EXPECT_EQ(Trim("  a b \t "), "a b \t");
    EXPECT_EQ(LTrim("  x "), "x ");
    EXPECT_EQ(RTrim("  x  "), "  x");
    EXPECT_EQ(Trim("   "), "");
}

TEST(Strings, SlicesCountCharactersNotBytes) {
    EXPECT_EQ(Mid("&1 C:\\DATEN\\MÜLLER.ZDB", 4), "C:\\DATEN\\MÜLLER.ZDB");
    EXPECT_EQ(Mid("äöüß", 2, 2), "öü");
    EXPECT_EQ(Mid("abc", 5), "");
    EXPECT_EQ(Mid("abc", 2, 10), "bc");
    EXPECT_EQ(Left("Übung", 2), "Üb");
    EXPECT_EQ(Left("ab", 5), "ab");
    EXPECT_EQ(Right("Größe", 3), "öße");
    EXPECT_EQ(Right("ab", 0), "");
    EXPECT_EQ(Len("Größe"), 5);
    EXPECT_EQ(Len(""), 0);
    EXPECT_EQ(errorOf([] { (void)Mid("abc", 0); }), vb::err::InvalidProcedureCall);
    EXPECT_EQ(errorOf([] { (void)Left("abc", -1); }), vb::err::InvalidProcedureCall);
}

TEST(Strings, InStrIsBinaryAndOneBased) {
    EXPECT_EQ(InStr("Typ 3 und 5", "5"), 11);
    EXPECT_EQ(InStr("ÄÖ x", "x"), 4);
    EXPECT_EQ(InStr("abc", "B"), 0);
    EXPECT_EQ(InStr("abc", ""), 1);
    EXPECT_EQ(InStr("", ""), 0);
    EXPECT_EQ(InStr(3, "abab", "ab"), 3);
    EXPECT_EQ(InStr(5, "abab", "ab"), 0);
    EXPECT_EQ(Replace("a\\b\\c", "\\", "/"), "a/b/c");
    EXPECT_EQ(Replace("aaa", "", "x"), "aaa");
}

TEST(Strings, SpaceStringChrAsc) {
    EXPECT_EQ(Space(3), "   ");
    EXPECT_EQ(errorOf([] { (void)Space(-1); }), vb::err::InvalidProcedureCall);  // a negative pad count is an error
    EXPECT_EQ(String(3, "_x"), "___");
    EXPECT_EQ(String(2, "¯"), "¯¯");
    EXPECT_EQ(Chr(175), "¯");
    EXPECT_EQ(Chr(13) + Chr(10), vbCrLf);
    EXPECT_EQ(Chr(128), "€");
    EXPECT_EQ(Asc("Ä"), 196);
    EXPECT_EQ(Asc("€uro"), 128);
    EXPECT_EQ(Asc("A"), 65);
    EXPECT_EQ(errorOf([] { (void)Asc(""); }), vb::err::InvalidProcedureCall);
    EXPECT_EQ(errorOf([] { (void)Chr(256); }), vb::err::InvalidProcedureCall);
}

TEST(CodePages, DosUmlautBytesAndWindowsText) {
    // 132 ä, 148 ö, 129 ü, 225 ß, 142 Ä, 153 Ö, 154 Ü; other bytes as Windows-1252.
    EXPECT_EQ(dosUmlautsToUtf8("K\x84se \x94l \x84h \x81 Stra\xe1"
                               "e \x8e\x99\x9a \x80"),
              "Käse öl äh ü Straße ÄÖÜ €");
    EXPECT_EQ(dosUmlautsToUtf8(""), "");
    EXPECT_EQ(toUtf8("\x84\x94\xe1", CodePage::Dos850), "äöß");
    EXPECT_EQ(toUtf8("\xa0", CodePage::Dos437), "á");
    EXPECT_EQ(toUtf8("\xe4\x81", CodePage::Windows1252), "ä\u0081");
    EXPECT_EQ(fromUtf8("äöü€\u0081", CodePage::Windows1252), "\xe4\xf6\xfc\x80\x81");
    EXPECT_EQ(fromUtf8("a€b", CodePage::Dos850), "a?b");
    EXPECT_EQ(fromUtf8("Grüße", CodePage::Dos437),
              "Gr\x81\xe1"
              "e");
}

TEST(Colours, RgbKeepsRedInTheLowestByte) {
    EXPECT_EQ(RGB(86, 52, 18), 86 + 52 * 256 + 18 * 65536);
    EXPECT_EQ(Red(RGB(86, 52, 18)), 86);
    EXPECT_EQ(Green(RGB(86, 52, 18)), 52);
    EXPECT_EQ(Blue(RGB(86, 52, 18)), 18);
    EXPECT_EQ(QBColor(8), RGB(128, 128, 128));
    EXPECT_EQ(QBColor(14), RGB(255, 255, 0));
    EXPECT_EQ(QBColor(2), RGB(0, 128, 0));
    EXPECT_EQ(RGB(300, -5, 0), 255);
}

TEST(Strings, StrOfFieldValues) {
    EXPECT_EQ("itemnummer like " + Str(Variant(int16_t(17))), "itemnummer like  17");
    EXPECT_EQ(Str(Variant(int32_t(-3))), "-3");
    EXPECT_EQ(Str(Variant(0.85f)), " .85");
    EXPECT_EQ(errorOf([] { (void)Str(Variant::null()); }), vb::err::InvalidUseOfNull);
}

// A value quoted in a message: whole up to 80 characters, else its start and end around "…"; what
// cannot be shown is shown as a symbol.
TEST(Strings, ExcerptsShowAValueShortAndVisible) {
    EXPECT_EQ(vb::excerpt("Müller"), "Müller");
    const std::string achtzig(80, 'a');
    EXPECT_EQ(vb::excerpt(achtzig), achtzig);
    const std::string lang = std::string(60, 'a') + std::string(1000000, 'b') + "Ende.ZDB" + std::string(12, 'c');
    const std::string kurz = vb::excerpt(lang);
    EXPECT_EQ(kurz, std::string(60, 'a') + "\u2026" + "Ende.ZDB" + std::string(12, 'c'));
    EXPECT_EQ(vb::excerpt("a\nb\tc\x1b\x7f"), "a\u240ab\u2409c\u241b\u2421");
    EXPECT_EQ(vb::excerpt("x\xff\xc3y"), "x\uFFFD\uFFFDy");
    // Umlauts at the cut stay whole characters.
    const std::string umlaute = vb::excerpt(std::string(100 * 2, 'x') + std::string(50, 'y') + "äöüäöüäöüäöüäöüäöüäöü");
    EXPECT_EQ(vb::Len(umlaute), 81);
    EXPECT_EQ(vb::Right(umlaute, 20), "öüäöüäöüäöüäöüäöüäöü");
}
