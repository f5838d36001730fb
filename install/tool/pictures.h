#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace install {

// Writes "zuv_symb_<colour>.wmf" for every symbol colour into `folder`.
void writeSymbolMetafiles(const std::string& folder);

// The print header symbol "zuv_symb_druckkopf.bmp" and the splash picture "zuv_splash.bmp".
void writeBitmaps(const std::string& folder);

}  // namespace install
