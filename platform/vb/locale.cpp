#include "platform/vb/locale.h"

#include <clocale>
#include <string>

namespace vb {

namespace {
char g_sep = 0;
}

char decimalSeparator() {
    if (g_sep == 0) {
        // Ask the environment's locale without changing the program's own C locale.
        const char* saved = std::setlocale(LC_NUMERIC, nullptr);
        std::string keep = saved ? saved : "C";
        char sep = '.';
        if (std::setlocale(LC_NUMERIC, "")) {
            const lconv* lc = std::localeconv();
            if (lc && lc->decimal_point && lc->decimal_point[0]) sep = lc->decimal_point[0];
        }
        std::setlocale(LC_NUMERIC, keep.c_str());
        g_sep = sep;
    }
    return g_sep;
}

void setDecimalSeparator(char c) { g_sep = c; }

}  // namespace vb
