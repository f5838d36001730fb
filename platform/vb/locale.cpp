#include "platform/vb/locale.h"

#include <QLocale>

#include <atomic>

namespace vb {

namespace {
std::atomic<char> g_sep{0};
}

char decimalSeparator() {
    char sep = g_sep.load(std::memory_order_relaxed);
    if (sep == 0) {
        // The settings the desktop names, through Qt's own locale data: the C library's current
        // locale is whatever the toolkit or a library made it, and asking it means changing it
        // for every thread for a moment.
        sep = QLocale::system().decimalPoint() == QStringLiteral(",") ? ',' : '.';
        g_sep.store(sep, std::memory_order_relaxed);
    }
    return sep;
}

void setDecimalSeparator(char c) { g_sep.store(c, std::memory_order_relaxed); }

}  // namespace vb
