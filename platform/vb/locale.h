#pragma once

namespace vb {

// The decimal separator of the user's regional settings (LC_ALL, LC_NUMERIC or LANG, read once):
// "," for German settings, "." where the settings name none with a comma.
char decimalSeparator();

// Tests and tools may fix it; 0 goes back to the regional settings.
void setDecimalSeparator(char c);

}  // namespace vb
