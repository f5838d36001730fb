#pragma once

#include <string>
#include <string_view>

// Numbers in the C notation ("-1.5", "2.5E+20"), written and read the same in every locale: the
// C library's strtod and printf take the decimal point of the process's locale, which Qt sets
// from the environment (a German desktop reads "0.85" as 0). The language's own separators are
// put in by the callers.
namespace vb {

// The whole text as one number: an optional sign, digits with an optional ".", an optional
// exponent ("E+05", "e-3"). No blanks, no "inf" or "nan". A number too large for a double gives
// an infinity of its sign, one too small a zero; false when the text is no number.
bool readCNumber(std::string_view text, double& out);

// printf's "%.*G" of v: `digits` significant digits, trailing zeros dropped, an exponent written
// "E+20" where the number needs one.
std::string gText(double v, int digits);

// printf's "%.*e" of v: one digit, the point, `decimals` digits, the exponent ("1.50000e+02").
std::string eText(double v, int decimals);

}  // namespace vb
