#include "draw/text/FontSizes.h"

#include <algorithm>
#include <array>

namespace {

// Close to v * 4 / 3 but not equal to it (4 gives 6, 16 gives 21): these are
// the heights the skins' small fonts were drawn and measured with.
constexpr std::array<int32_t, 20> kSmallSizes = {0,  1,  3,  4,  6,  7,  8,  10, 11, 12,
                                                 14, 15, 16, 18, 19, 20, 21, 23, 24, 25};

}  // namespace

int32_t FontSizes::pixel_height(int32_t size, int32_t scale) {
    // 64-bit, so that a damaged skin's huge size or scale cannot overflow.
    int64_t v = int64_t{size} * scale;
    if (v < 0) v = 0;
    if (v < static_cast<int64_t>(kSmallSizes.size())) return kSmallSizes[static_cast<size_t>(v)];
    return static_cast<int32_t>(std::min<int64_t>(v * 96 / 72, kMaxPixelHeight));
}
