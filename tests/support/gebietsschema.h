#pragma once

// The process's locale (the C library's and the C++ global one), switched for a part of a test
// and put back after it, as Qt sets it from a desktop's environment. The suite itself runs under
// de_DE.UTF-8; `make deps` generates every locale named here.

#include <gtest/gtest.h>

#include <clocale>
#include <locale>
#include <stdexcept>
#include <string>
#include <vector>

namespace support {

// The locales in which every text the programs make must come out the same.
inline const std::vector<std::string>& gebietsschemata() {
    static const std::vector<std::string> namen{"C", "C.UTF-8", "de_DE.UTF-8", "en_US.UTF-8", "tr_TR.UTF-8"};
    return namen;
}

class Gebietsschema {
public:
    explicit Gebietsschema(const std::string& name)
        : m_vorher(std::locale()), m_cVorher(std::setlocale(LC_ALL, nullptr)) {
        try {
            std::locale::global(std::locale(name));
        } catch (const std::runtime_error&) {
            ADD_FAILURE() << "the locale " << name << " is missing (make deps generates it)";
        }
    }
    ~Gebietsschema() {
        std::locale::global(m_vorher);
        std::setlocale(LC_ALL, m_cVorher.c_str());
    }
    Gebietsschema(const Gebietsschema&) = delete;
    Gebietsschema& operator=(const Gebietsschema&) = delete;

private:
    std::locale m_vorher;
    std::string m_cVorher;
};

}  // namespace support
