#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace install {

// The symbol colours the settings window offers (label texts 212 to 220), in that order; the
// enneagram window and the report find the picture "zuv_symb_<colour>.wmf" by this name.
const std::vector<std::string>& symbolColours();

// Writes "zuv_symb_<colour>.wmf" for every symbol colour into `folder`.
void writeSymbolMetafiles(const std::string& folder);

// The print header symbol "zuv_symb_druckkopf.bmp" and the splash picture "zuv_splash.bmp".
void writeBitmaps(const std::string& folder);

}  // namespace install
