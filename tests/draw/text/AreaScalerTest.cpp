#include <gtest/gtest.h>

#include <vector>

#include "draw/text/AreaScaler.h"

namespace {

using Pixels = std::vector<uint32_t>;

// Premultiplied BGRA bytes of 0xAARRGGBB values.
std::vector<uint8_t> bgra(const Pixels& pixels) {
    std::vector<uint8_t> bytes;
    for (uint32_t p : pixels)
        for (int shift : {0, 8, 16, 24}) bytes.push_back(static_cast<uint8_t>(p >> shift));
    return bytes;
}

}  // namespace

TEST(AreaScaler, EachPixelIsTheAverageOfTheAreaItCovers) {
    // 4 x 2 to 2 x 1: each output pixel averages a 2 x 2 block, rounded.
    auto in = bgra({0xFF0000FF, 0xFF000000, 0x80404040, 0x00000000,  //
                    0xFF0000FF, 0xFF000001, 0x80404040, 0x00000000});
    EXPECT_EQ(AreaScaler::scale_bgra(in.data(), 4, 2, 16, 2, 1), (Pixels{0xFF000080, 0x40202020}));
    // 2 x 1 to 3 x 1: the middle pixel straddles both, the ends take one each.
    auto pair = bgra({0xFFFF0000, 0xFF0000FF});
    EXPECT_EQ(AreaScaler::scale_bgra(pair.data(), 2, 1, 8, 3, 1),
              (Pixels{0xFFFF0000, 0xFF800080, 0xFF0000FF}));
    // 3 x 1 to 2 x 1: weights 2/3 and 1/3 of a source pixel.
    auto three = bgra({0xFF000000, 0xFF000000, 0xFF0000FF});
    EXPECT_EQ(AreaScaler::scale_bgra(three.data(), 3, 1, 12, 2, 1),
              (Pixels{0xFF000000, 0xFF0000AA}));
    // A negative pitch stores the rows bottom-up from the start of the buffer.
    auto rows = bgra({0x11111111, 0x22222222});
    EXPECT_EQ(AreaScaler::scale_bgra(rows.data(), 1, 2, -4, 1, 2),
              (Pixels{0x22222222, 0x11111111}));
}

TEST(AreaScaler, ResultsStayPremultipliedAndEmptySizesGiveNothing) {
    // Colour 1 under alpha 0 next to alpha 1 rounds to 1 of alpha 1, never 1 of 0.
    auto in = bgra({0x00010101, 0x01000000, 0x00010101});
    for (uint32_t p : AreaScaler::scale_bgra(in.data(), 3, 1, 12, 1, 1))
        for (int shift : {0, 8, 16}) EXPECT_LE((p >> shift) & 0xFF, p >> 24);
    EXPECT_TRUE(AreaScaler::scale_bgra(in.data(), 3, 1, 12, 0, 1).empty());
    EXPECT_TRUE(AreaScaler::scale_bgra(in.data(), 0, 1, 12, 2, 1).empty());
    EXPECT_TRUE(AreaScaler::scale_bgra(nullptr, 3, 1, 12, 2, 1).empty());
}
