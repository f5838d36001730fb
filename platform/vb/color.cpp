#include "platform/vb/color.h"

#include <algorithm>

#include "platform/vb/error.h"

namespace vb {

int32_t RGB(int red, int green, int blue) {
    const auto c = [](int v) { return std::clamp(v, 0, 255); };
    return c(red) | (c(green) << 8) | (c(blue) << 16);
}

int32_t QBColor(int n) {
    static constexpr int32_t palette[16][3] = {{0, 0, 0},       {0, 0, 128},   {0, 128, 0},   {0, 128, 128},
                                               {128, 0, 0},     {128, 0, 128}, {128, 128, 0}, {192, 192, 192},
                                               {128, 128, 128}, {0, 0, 255},   {0, 255, 0},   {0, 255, 255},
                                               {255, 0, 0},     {255, 0, 255}, {255, 255, 0}, {255, 255, 255}};
    if (n < 0 || n > 15) throw Error(err::InvalidProcedureCall);
    // The table lists red, green, blue.
    return RGB(palette[n][0], palette[n][1], palette[n][2]);
}

}  // namespace vb
