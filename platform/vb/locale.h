#pragma once

namespace vb {

// The decimal separator of the user's locale (LC_NUMERIC, read once): "," for German settings.
char decimalSeparator();

// Tests and tools may fix it.
void setDecimalSeparator(char c);

}  // namespace vb
