#pragma once

#include <string>

#include "platform/vb/variant.h"

namespace vb {

// Format(value, pattern) as the programs use it.
// Numbers: "0" is a digit always written, "#" one written only when needed, "." the locale's
// decimal separator, "," (between digits) grouping, "%" multiplies by 100; everything else is
// literal (" 0.000 " keeps its blanks). Integer digits beyond the pattern's are kept ("00" with 126
// gives "126"); decimals are rounded half away from zero; a minus sign comes first ("-012.50").
// The named format "Percent" gives the value times 100 with two decimals and "%".
// Dates: d dd, m mm, yy yyyy, h hh, n nn (or m mm after an hour), s ss; other characters literal.
// A text is read as a number in the locale and formatted; a text that is no number comes back
// unchanged. Null gives "". An empty pattern gives the value's plain text.
std::string Format(const Variant& value, const std::string& pattern = "");

}  // namespace vb
