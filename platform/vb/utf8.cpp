#include "platform/vb/utf8.h"

namespace vb::utf8 {

namespace {
bool isContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }
}  // namespace

size_t offsetOf(const std::string& s, size_t index) {
    size_t pos = 0;
    for (size_t i = 0; i < index && pos < s.size(); ++i) next(s, pos);
    return pos;
}

size_t length(const std::string& s) {
    size_t n = 0, pos = 0;
    while (pos < s.size()) {
        next(s, pos);
        ++n;
    }
    return n;
}

char32_t next(const std::string& s, size_t& pos, bool* valid) {
    const auto b0 = static_cast<unsigned char>(s[pos]);
    int extra = 0;
    char32_t c = 0;
    if (b0 < 0x80) {
        ++pos;
        if (valid) *valid = true;
        return b0;
    }
    if ((b0 & 0xE0) == 0xC0 && b0 >= 0xC2) extra = 1, c = b0 & 0x1F;
    else if ((b0 & 0xF0) == 0xE0) extra = 2, c = b0 & 0x0F;
    else if ((b0 & 0xF8) == 0xF0 && b0 <= 0xF4) extra = 3, c = b0 & 0x07;
    else {
        ++pos;
        if (valid) *valid = false;
        return b0;
    }
    if (pos + extra >= s.size()) {
        ++pos;
        if (valid) *valid = false;
        return b0;
    }
    for (int i = 1; i <= extra; ++i) {
        const auto b = static_cast<unsigned char>(s[pos + i]);
        if (!isContinuation(b)) {
            ++pos;
            if (valid) *valid = false;
            return b0;
        }
        c = (c << 6) | (b & 0x3F);
    }
    // Overlong forms and surrogates are not characters.
    if ((extra == 2 && (c < 0x800 || (c >= 0xD800 && c <= 0xDFFF))) || (extra == 3 && (c < 0x10000 || c > 0x10FFFF))) {
        ++pos;
        if (valid) *valid = false;
        return b0;
    }
    pos += extra + 1;
    if (valid) *valid = true;
    return c;
}

void append(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace vb::utf8
