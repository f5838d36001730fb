#pragma once

#include <cstdint>
#include <string>

#include "platform/vb/variant.h"

// The text and number functions of the programs' language over UTF-8 strings. Positions and
// lengths count characters, not bytes, and start at 1 where the language's do.
namespace vb {

inline const std::string vbCrLf = "\r\n";
inline const std::string vbCr = "\r";
inline const std::string vbLf = "\n";
inline const std::string vbTab = "\t";

// Str: a number as text with a blank in place of the sign of a non-negative number (" 5", "-5").
// Always "." as decimal point and no leading zero before it (" .5"), whatever the locale says.
std::string Str(double v);
std::string Str(int v);
std::string Str(long v);
std::string Str(long long v);
std::string Str(float v);  // seven significant digits, as a Single prints
// A value of a field or variable: numbers as above, a numeric text by its number. Null raises 94
// (the text cannot carry it); a text that is no number raises 13.
std::string Str(const Variant& v);

// CStr: the text of a value without a leading blank, decimal separator of the locale; Null raises 94.
inline std::string CStr(const Variant& v) { return v.toString(); }

// Conversions: Null raises 94, text that is no number 13, a value out of range 6; CInt and CLng
// round halves to the even neighbour.
inline int16_t CInt(const Variant& v) { return v.toInt(); }
inline int32_t CLng(const Variant& v) { return v.toLong(); }
inline float CSng(const Variant& v) { return v.toSingle(); }
inline double CDbl(const Variant& v) { return v.toDouble(); }
inline bool CBool(const Variant& v) { return v.toBool(); }

// Val: the number at the start of a text. Blanks, tabs and line feeds are skipped anywhere, "." is
// the decimal point in every locale, "&H"/"&O" introduce hexadecimal/octal whole numbers, "E" or
// "D" an exponent. No number at all gives 0; a number too large for a Double (or a hexadecimal one
// beyond 32 bits) raises 6.
double Val(const std::string& text);

std::string UCase(const std::string& s);  // every letter, umlauts included ("ä" -> "Ä"; "ß" stays)
std::string LCase(const std::string& s);

// Only blanks (code 32) are removed, as the language does; tabs and line ends stay.
std::string Trim(const std::string& s);
std::string LTrim(const std::string& s);
std::string RTrim(const std::string& s);

// Left/Right with a negative length and Mid with start < 1 or a negative length (other than -1 =
// "to the end") raise 5.
std::string Left(const std::string& s, int length);
std::string Right(const std::string& s, int length);
std::string Mid(const std::string& s, int start, int length = -1);

int Len(const std::string& s);  // characters

// Position (from 1) of the first occurrence of `find` at or after character `start`, 0 when none.
// Case matters. An empty `find` is found at `start` in a non-empty text; an empty text gives 0.
int InStr(const std::string& text, const std::string& find);
int InStr(int start, const std::string& text, const std::string& find);

// Every occurrence of `find` replaced; an empty `find` leaves the text as it is.
std::string Replace(const std::string& text, const std::string& find, const std::string& with);

std::string Space(int n);                          // n < 0 raises 5
std::string String(int n, const std::string& ch);  // n times the first character of ch; 5 if ch is empty

// Character codes of the Windows ANSI code page 1252 (0..255); other arguments raise 5.
std::string Chr(int code);
int Asc(const std::string& s);  // code of the first character; "" raises 5, a character outside 1252 gives 63 ("?")

// A text taken from a file or typed by someone, fit to stand in a message: control characters
// shown as their visible symbols (a line feed as "␊"), bytes that are not UTF-8 as "�", and a text
// longer than `maxChars` characters cut in the middle to its start and end around "…".
std::string excerpt(const std::string& text, size_t maxChars = 80);

}  // namespace vb
