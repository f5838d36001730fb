#pragma once

// Golden files: texts a test compares with what the program writes now. With the environment
// variable ZUV_GOLDEN_UPDATE set, the test writes them anew instead.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace support {

// A difference fails the test, naming the first line that differs.
inline void mitGoldenDateiVergleichen(const std::filesystem::path& datei, const std::string& ist) {
    if (std::getenv("ZUV_GOLDEN_UPDATE")) {
        std::filesystem::create_directories(datei.parent_path());
        std::ofstream(datei, std::ios::binary) << ist;
        return;
    }
    std::ifstream in(datei, std::ios::binary);
    ASSERT_TRUE(in) << "golden file missing: " << datei;
    std::stringstream soll;
    soll << in.rdbuf();
    if (soll.str() == ist) return;
    std::istringstream a(soll.str()), b(ist);
    std::string za, zb;
    for (int n = 1;; ++n) {
        const bool ha = static_cast<bool>(std::getline(a, za)), hb = static_cast<bool>(std::getline(b, zb));
        if (!ha && !hb) break;
        if (!ha || !hb || za != zb) {
            ADD_FAILURE() << datei.stem().string() << ", line " << n << "\n  golden:   " << (ha ? za : "<end>")
                          << "\n  this run: " << (hb ? zb : "<end>");
            return;
        }
    }
}

}  // namespace support
