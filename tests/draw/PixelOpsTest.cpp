#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "draw/FillOp.h"
#include "draw/PixelOps.h"

namespace {

using Row = std::vector<uint16_t>;

// Source and destination pairs covering the key colour, opaque (0x0020,
// 0x1234) and translucent pixels and a sum that overflows 16 bits.
const Row kSrc = {0xF81F, 0x0020, 0x0841, 0x0841, 0xFFDF, 0x1234};
const Row kDst = {0x1234, 0xFFFF, 0xFFFF, 0x0000, 0xFFFF, 0x4321};

// Runs op over kDst in each of the four row forms, each set up so that
// destination pixel i takes source pixel i, and returns the four results.
std::vector<Row> through_all_forms(const PixelOp& op) {
    std::vector<Row> out(4, kDst);
    auto n = static_cast<int32_t>(kDst.size());
    op.row(out[0].data(), out[0].data() + n, kSrc.data(), 0, 0);
    op.scaled_row(out[1].data(), out[1].data() + n, kSrc.data(), 0, 1 << 10, 0);
    op.slice_row(out[2].data(), out[2].data() + n, kSrc.data(), 0, 0, 0);
    // Wrapping at the row's own end never takes effect: the identity mapping.
    op.wrapped_slice_row(out[3].data(), out[3].data() + n, kSrc.data(), 0, 0, 0, n, 0);
    return out;
}

TEST(PixelOps, EveryBlendingKindGivesTheSamePixelsInAllFourRowForms) {
    const std::pair<const PixelOp*, Row> cases[] = {
        {&pixel_ops::copy(), kSrc},
        {&pixel_ops::key(), {0x1234, 0x0020, 0x0841, 0x0841, 0xFFDF, 0x1234}},
        // s + d/4: 0x0841 + 0x39E7; 0xFFDF + 0x39E7 wraps to 0x39C6.
        {&pixel_ops::shade_3_4(), {0x1234, 0x0020, 0x4228, 0x0841, 0x39C6, 0x1234}},
        // s + d/2: over white that is s + 0x7BEF.
        {&pixel_ops::shade_1_2(), {0x1234, 0x0020, 0x0841 + 0x7BEF, 0x0841, 0x7BCE, 0x1234}},
        // s + d/2 + d/2/2: 0x7BEF + 0x39E7 over white.
        {&pixel_ops::shade_1_4(), {0x1234, 0x0020, 0xBE17, 0x0841, 0xB5B5, 0x1234}},
        {&pixel_ops::solid(), {0x1234, 0x0020, 0xFFFF, 0x0000, 0xFFFF, 0x1234}},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        auto results = through_all_forms(*cases[i].first);
        for (size_t form = 0; form < results.size(); ++form)
            EXPECT_EQ(results[form], cases[i].second) << "op " << i << ", row form " << form + 1;
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
    // Shifted and wrapped: indices 5, 2, 3, 4, 5, 2 halved.
    d.assign(6, 0);
    op.wrapped_slice_row(d.data(), d.data() + 6, src.data(), 5, 1, 2, 6, 0);
    EXPECT_EQ(d, (Row{30, 20, 20, 30, 30, 20}));
}

TEST(PixelOps, TiledRowsGiveThePixelsOfDrawingEachPixelOnItsOwn) {
    // A source row of every kind of pixel, and a mask that covers only its
    // first 50 columns and mixes by every level.
    Row src(64), dst(1100);
    for (size_t i = 0; i < src.size(); ++i) src[i] = kSrc[i % kSrc.size()] ^ (i * 0x0841 & 0xFFDF);
    for (size_t i = 0; i < dst.size(); ++i) dst[i] = static_cast<uint16_t>(i * 0x9E37 + 0x1234);
    auto mask_pixels = PixelBuffer::create(50, 1);
    for (int32_t x = 0; x < 50; ++x) mask_pixels->set_pixel(x, 0, static_cast<uint16_t>(x * 7));
    auto mask = pixel_ops::make_mask(
        Picture(std::make_shared<PictureData>(u"mask", std::move(mask_pixels))));
    const PixelOp* ops[] = {&pixel_ops::copy(),
                            &pixel_ops::key(),
                            &pixel_ops::shade_3_4(),
                            &pixel_ops::shade_1_2(),
                            &pixel_ops::shade_1_4(),
                            &pixel_ops::solid(),
                            mask.get()};
    // Tiles from one pixel (also one source pixel drawn 4 times) to longer
    // than the row loop's threshold; rows longer than one laid-out piece.
    const std::tuple<int32_t, int32_t, int32_t, int32_t> tiles[] = {
        {1, 2, 1, 0},  {4, 8, 5, 2},   {2, 5, 4, 0},    {3, 10, 3, 0}, {9, 40, 20, 0},
        {6, 16, 7, 1}, {0, 64, 63, 0}, {10, 42, 41, 0}, {1, 64, 1, 0}};
    for (size_t o = 0; o < std::size(ops); ++o)
        for (auto [wrap_to, wrap_at, start, shift] : tiles)
            for (int32_t length : {0, 1, 7, 100, 1100}) {
                Row drawn(dst.begin(), dst.begin() + length), one_by_one = drawn;
                ops[o]->wrapped_slice_row(drawn.data(), drawn.data() + length, src.data(), start,
                                          shift, wrap_to, wrap_at, 0);
                int32_t j = start;
                for (int32_t i = 0; i < length; ++i) {
                    const int32_t x = j >> shift;
                    ops[o]->row(&one_by_one[i], &one_by_one[i] + 1, &src[x], x, 0);
                    if (++j == wrap_at) j = wrap_to;
                }
                ASSERT_EQ(drawn, one_by_one)
                    << "op " << o << ", tile " << wrap_to << ".." << wrap_at << " from " << start
                    << " >> " << shift << ", " << length << " pixels";
            }
}

TEST(PixelOps, FillWritesEveryPixelAtAnyAlignmentAndNothingBeyond) {
    FillOp fill(0xABCD);
    for (int first = 1; first < 4; ++first) {
        for (int count = 0; count < 6; ++count) {
            alignas(4) uint16_t row[10] = {};
            fill.row(row + first, row + first + count, nullptr, 0, 0);
            for (int i = 0; i < 10; ++i)
                EXPECT_EQ(row[i], i >= first && i < first + count ? 0xABCD : 0)
                    << first << " " << count << " " << i;
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
    for (auto [value, level] : {std::pair{-40, 0}, {7, 0}, {8, 1}, {128, 8}, {256, 16}, {1000, 16}})
        EXPECT_EQ(pixel_ops::fade_level(value), level) << value;
    const std::pair<int, const PixelOp*> shades[] = {
        {-5, &pixel_ops::key()},        {63, &pixel_ops::key()},
        {64, &pixel_ops::shade_3_4()},  {128, &pixel_ops::shade_1_2()},
        {255, &pixel_ops::shade_1_4()}, {256, &pixel_ops::solid()},
        {5000, &pixel_ops::solid()}};
    for (auto [value, op] : shades) EXPECT_EQ(&pixel_ops::shade_for(value), op) << value;
    // The owned forwarding op draws as the shared one does.
    EXPECT_EQ(through_all_forms(*pixel_ops::make_shade(130)->clone()),
              through_all_forms(pixel_ops::shade_1_2()));
}

TEST(PixelOps, MaskMixesByTheMaskBlueChannelAtTheSourcePixel) {
    // The mask weighs the source: halfway from white (8-bit 248, 252, 248) to black.
    EXPECT_EQ(pixel_ops::mask_pixel(0x0000, 0xFFFF, 16), 0x7BEF);
    EXPECT_EQ(pixel_ops::mask_pixel(0xF800, 0x001F, 8), (62 & 0xF8) << 8 | (186 >> 3));
    // Every level over a spread of pixels, against the rule in plain integers
    // (the op computes it in 16 bits).
    for (int a = 0; a <= 31; ++a)
        for (int s = 0; s < 0x10000; s += 257)
            for (int d = 0; d < 0x10000; d += 263) {
                auto mix = [a](int cs, int cd) { return cd + (cs - cd) * a / 32; };
                int r = mix((s >> 8) & 0xF8, (d >> 8) & 0xF8);
                int g = mix((s >> 3) & 0xFC, (d >> 3) & 0xFC);
                int b = mix((s << 3) & 0xF8, (d << 3) & 0xF8);
                int expected = a == 31 ? s : (r & 0xF8) << 8 | (g & 0xFC) << 3 | (b & 0xF8) >> 3;
                ASSERT_EQ(
                    pixel_ops::mask_pixel(static_cast<uint16_t>(s), static_cast<uint16_t>(d), a),
                    expected)
                    << s << " " << d << " " << a;
            }

    // A 3 x 2 mask whose row 1 reads 0, 31, 16 (only the blue channel counts).
    auto buffer = PixelBuffer::create(3, 2);
    const Row mask_pixels = {31, 31, 31, 0xFFE0, 0x001F, 0xF810};
    for (int32_t i = 0; i < 6; ++i) buffer->set_pixel(i % 3, i / 3, mask_pixels[i]);
    auto op =
        pixel_ops::make_mask(Picture(std::make_shared<PictureData>(u"mask", std::move(buffer))));
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
