#include "draw/PixelOps.h"

#include <gtest/gtest.h>

#include <vector>

#include "draw/FillOp.h"

namespace {

using Row = std::vector<uint16_t>;

// Runs op over dst in each of the four row forms, each set up so that
// destination pixel i takes source pixel i, and returns the four results.
std::vector<Row> through_all_forms(const PixelOp& op, const Row& src, const Row& dst) {
    std::vector<Row> out(4, dst);
    auto n = static_cast<int32_t>(dst.size());
    op.row(out[0].data(), out[0].data() + n, src.data(), 0, 0);
    op.scaled_row(out[1].data(), out[1].data() + n, src.data(), 0, 1 << 10, 0);
    op.slice_row(out[2].data(), out[2].data() + n, src.data(), 0, 0, 0);
    // Wrapping at the row's own end never takes effect: the identity mapping.
    op.wrapped_slice_row(out[3].data(), out[3].data() + n, src.data(), 0, 0, 0, n, 0);
    return out;
}

struct Case {
    const char* name;
    const PixelOp& op;
    Row expected;
};

// Source and destination pairs covering the key colour, opaque (0x0020,
// 0x1234) and translucent pixels and a sum that overflows 16 bits.
const Row kSrc = {0xF81F, 0x0020, 0x0841, 0x0841, 0xFFDF, 0x1234};
const Row kDst = {0x1234, 0xFFFF, 0xFFFF, 0x0000, 0xFFFF, 0x4321};

TEST(PixelOps, EveryBlendingKindGivesTheSamePixelsInAllFourRowForms) {
    const Case cases[] = {
        {"copy", pixel_ops::copy(), kSrc},
        {"key", pixel_ops::key(), {0x1234, 0x0020, 0x0841, 0x0841, 0xFFDF, 0x1234}},
        // s + d/4: 0x0841 + 0x39E7; 0xFFDF + 0x39E7 wraps to 0x39C6.
        {"shade 3/4", pixel_ops::shade_3_4(), {0x1234, 0x0020, 0x4228, 0x0841, 0x39C6, 0x1234}},
        // s + d/2: over white that is s + 0x7BEF.
        {"shade 1/2", pixel_ops::shade_1_2(), {0x1234, 0x0020, 0x0841 + 0x7BEF, 0x0841, 0x7BCE, 0x1234}},
        // s + d/2 + d/2/2: 0x7BEF + 0x39E7 over white.
        {"shade 1/4", pixel_ops::shade_1_4(), {0x1234, 0x0020, 0xBE17, 0x0841, 0xB5B5, 0x1234}},
        {"solid", pixel_ops::solid(), {0x1234, 0x0020, 0xFFFF, 0x0000, 0xFFFF, 0x1234}},
    };
    for (const Case& c : cases) {
        auto results = through_all_forms(c.op, kSrc, kDst);
        for (size_t form = 0; form < results.size(); ++form)
            EXPECT_EQ(results[form], c.expected) << c.name << ", row form " << form + 1;
    }
}

TEST(PixelOps, RowFormsPickTheirSourcePixels) {
    const Row src = {10, 20, 30, 40, 50, 60};
    const PixelOp& op = pixel_ops::copy();
    Row d(3);
    // Fixed point 0.5 + i * 1.5: source pixels 0, 2 and 3.
    op.scaled_row(d.data(), d.data() + 3, src.data(), 512, 1536, 0);
    EXPECT_EQ(d, (Row{10, 30, 40}));
    d.assign(4, 0);
    op.slice_row(d.data(), d.data() + 4, src.data(), 1, 1, 0);
    EXPECT_EQ(d, (Row{10, 20, 20, 30}));
    d.assign(5, 0);
    op.wrapped_slice_row(d.data(), d.data() + 5, src.data(), 2, 0, 1, 3, 0);
    EXPECT_EQ(d, (Row{30, 20, 30, 20, 30}));
    // Shifted: indices 5, 2, 3, 4, 5, 2 halved.
    d.assign(6, 0);
    op.wrapped_slice_row(d.data(), d.data() + 6, src.data(), 5, 1, 2, 6, 0);
    EXPECT_EQ(d, (Row{30, 20, 20, 30, 30, 20}));
    // A key op with a shift takes the same indices through its own loop.
    d.assign(6, 7);
    pixel_ops::key().wrapped_slice_row(d.data(), d.data() + 6, src.data(), 5, 1, 2, 6, 0);
    EXPECT_EQ(d, (Row{30, 20, 20, 30, 30, 20}));
}

TEST(PixelOps, FillWritesEveryPixelAtAnyAlignmentAndNothingBeyond) {
    FillOp fill(0xABCD);
    for (int first = 0; first < 3; ++first) {
        for (int count = 0; count < 6; ++count) {
            alignas(4) uint16_t row[10] = {};
            fill.row(row + 1 + first, row + 1 + first + count, nullptr, 0, 0);
            for (int i = 0; i < 10; ++i) {
                bool inside = i >= 1 + first && i < 1 + first + count;
                EXPECT_EQ(row[i], inside ? 0xABCD : 0) << first << " " << count << " " << i;
            }
        }
    }
}

TEST(PixelOps, FadeScalesEachChannelAtItsLevel) {
    EXPECT_EQ(pixel_ops::fade_pixel(0xFFFF, 16), 0xFFFF);
    EXPECT_EQ(pixel_ops::fade_pixel(0xFFFF, 0), 0x0000);
    EXPECT_EQ(pixel_ops::fade_pixel(0xFFFF, 8), 0x7BEF);
    EXPECT_EQ(pixel_ops::fade_pixel(0xFFFF, 4), 0x39E7);
    // x/4 + x/16 + 0x0861.
    EXPECT_EQ(pixel_ops::fade_pixel(0xFFFF, 5), 0x4AA9);
    // x - x/16: per channel 31 - 1, 63 - 3, 31 - 1.
    EXPECT_EQ(pixel_ops::fade_pixel(0xFFFF, 15), (30 << 11) | (60 << 5) | 30);
    EXPECT_EQ(pixel_ops::fade_pixel(0xF800, 3), (31 / 4 - 31 / 16) << 11);

    // Pairs and single pixels at the unaligned ends give the same values.
    const Row pixels = {0xFFFF, 0x1234, 0xF81F, 0x07E0, 0x8410, 0xFFFF, 0x0841};
    for (int k = 0; k <= 16; ++k) {
        auto fade = pixel_ops::make_fade(k);
        for (int first = 0; first < 2; ++first) {
            alignas(4) uint16_t row[9] = {};
            std::copy(pixels.begin(), pixels.end(), row + first);
            fade->row(row + first, row + first + pixels.size(), nullptr, 0, 0);
            for (size_t i = 0; i < pixels.size(); ++i)
                EXPECT_EQ(row[first + i], pixel_ops::fade_pixel(pixels[i], k)) << k << " " << i;
        }
    }
}

TEST(PixelOps, LevelsFromValues) {
    EXPECT_EQ(pixel_ops::fade_level(-40), 0);
    EXPECT_EQ(pixel_ops::fade_level(7), 0);
    EXPECT_EQ(pixel_ops::fade_level(8), 1);
    EXPECT_EQ(pixel_ops::fade_level(128), 8);
    EXPECT_EQ(pixel_ops::fade_level(256), 16);
    EXPECT_EQ(pixel_ops::fade_level(1000), 16);

    EXPECT_EQ(&pixel_ops::shade_for(-5), &pixel_ops::key());
    EXPECT_EQ(&pixel_ops::shade_for(63), &pixel_ops::key());
    EXPECT_EQ(&pixel_ops::shade_for(64), &pixel_ops::shade_3_4());
    EXPECT_EQ(&pixel_ops::shade_for(128), &pixel_ops::shade_1_2());
    EXPECT_EQ(&pixel_ops::shade_for(255), &pixel_ops::shade_1_4());
    EXPECT_EQ(&pixel_ops::shade_for(256), &pixel_ops::solid());
    EXPECT_EQ(&pixel_ops::shade_for(5000), &pixel_ops::solid());
    // The owned forwarding op draws as the shared one does.
    auto owned = pixel_ops::make_shade(130)->clone();
    EXPECT_EQ(through_all_forms(*owned, kSrc, kDst), through_all_forms(pixel_ops::shade_1_2(), kSrc, kDst));
}

Picture picture_of(int32_t width, int32_t height, const Row& pixels) {
    auto buffer = PixelBuffer::create(width, height);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) buffer->set_pixel(x, y, pixels[static_cast<size_t>(y * width + x)]);
    return Picture(std::make_shared<PictureData>(u"test", std::move(buffer)));
}

TEST(PixelOps, MaskMixesByTheMaskBlueChannelAtTheSourcePixel) {
    EXPECT_EQ(pixel_ops::mask_pixel(0xFFFF, 0x0000, 0), 0x0000);
    EXPECT_EQ(pixel_ops::mask_pixel(0xFFFF, 0x0000, 31), 0xFFFF);
    // 8-bit channels 248, 252, 248 halfway to black: 124, 126, 124.
    EXPECT_EQ(pixel_ops::mask_pixel(0xFFFF, 0x0000, 16), 0x7BEF);
    EXPECT_EQ(pixel_ops::mask_pixel(0x0000, 0xFFFF, 16), 0x7BEF);
    EXPECT_EQ(pixel_ops::mask_pixel(0xF800, 0x001F, 8), (62 & 0xF8) << 8 | (186 >> 3));

    // Mask row 1 reads 0, 31, 16 (only the blue channel counts).
    Picture mask = picture_of(3, 2, {31, 31, 31, 0xFFE0, 0x001F, 0xF810});
    auto op = pixel_ops::make_mask(mask);
    const Row src = {0xFFFF, 0xFFFF, 0xFFFF};
    Row d(3, 0);
    op->row(d.data(), d.data() + 3, src.data(), 0, 1);
    EXPECT_EQ(d, (Row{0x0000, 0xFFFF, 0x7BEF}));
    // Scaled and sliced forms read the mask where they read the source.
    d.assign(3, 0);
    op->scaled_row(d.data(), d.data() + 3, src.data(), 2048, -1024, 1);
    EXPECT_EQ(d, (Row{0x7BEF, 0xFFFF, 0x0000}));
    d.assign(4, 0);
    op->slice_row(d.data(), d.data() + 4, src.data(), 2, 1, 1);
    EXPECT_EQ(d, (Row{0xFFFF, 0xFFFF, 0x7BEF, 0x7BEF}));
    d.assign(3, 0);
    op->wrapped_slice_row(d.data(), d.data() + 3, src.data(), 2, 0, 1, 3, 1);
    EXPECT_EQ(d, (Row{0x7BEF, 0xFFFF, 0x7BEF}));
    // Past the mask (a mask smaller than the picture) the source is drawn.
    d.assign(3, 0);
    op->row(d.data(), d.data() + 3, src.data(), 0, 5);
    EXPECT_EQ(d, src);
}

}  // namespace
