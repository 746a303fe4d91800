#include <gtest/gtest.h>

#include <vector>

#include "draw/ClipScope.h"
#include "draw/PixelOps.h"
#include "draw/RenderSurface.h"
#include "draw/pictures/Picture.h"
#include "support/Golden.h"

namespace {

using Row = std::vector<uint16_t>;

Picture picture_of(int32_t width, int32_t height, const Row& pixels) {
    auto buffer = PixelBuffer::create(width, height);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) buffer->set_pixel(x, y, pixels[y * width + x]);
    return Picture(std::make_shared<PictureData>(u"test", std::move(buffer)));
}

// A one-row picture sliced along x by the given head, middle and tail ends.
Picture strip(const Row& pixels, int32_t p1, int32_t p2) {
    Picture p = picture_of(static_cast<int32_t>(pixels.size()), 1, pixels);
    p.points = {Point{0, 0}, Point{p1, 0}, Point{p2, 1},
                Point{static_cast<int32_t>(pixels.size()), 1}};
    return p;
}

// Draws p stretched to length onto a surface just as wide, under clip.
Row draw_strip(const Picture& p, int32_t length, Rect clip = {0, 0, 1000, 1}) {
    RenderSurface s({length, 1});
    s.set_clip(clip.top_left(), clip.bottom_right());
    p.draw(s, {0, 0}, {length, 1}, pixel_ops::copy());
    Row row;
    for (int32_t x = 0; x < length; ++x) row.push_back(s.buffer()->pixel(x, 0));
    return row;
}

TEST(PictureSlicing, ShortTargetsShareTheEndsLongOnesTileTheMiddleAndNothingReadsOutside) {
    // Head 4, middle 1, tail 4.
    Picture p = strip({1, 2, 3, 4, 5, 6, 7, 8, 9}, 4, 5);
    EXPECT_EQ(draw_strip(p, 7), (Row{1, 2, 3, 5, 7, 8, 9}));
    EXPECT_EQ(draw_strip(p, 8), (Row{1, 2, 3, 4, 5, 7, 8, 9}));
    // Two pixels: half of 2 to the head, half of 1 to the tail, one middle.
    EXPECT_EQ(draw_strip(p, 2), (Row{1, 5}));
    // A short head gives its excess to the tail, and the other way round.
    EXPECT_EQ(draw_strip(strip({1, 2, 3, 4, 5, 6, 7}, 1, 2), 6), (Row{1, 2, 4, 5, 6, 7}));
    EXPECT_EQ(draw_strip(strip({1, 2, 3, 4, 5, 6, 7}, 5, 6), 5), (Row{1, 2, 3, 6, 7}));

    p = strip({1, 2, 3, 4, 5, 6}, 2, 4);
    EXPECT_EQ(draw_strip(p, 10), (Row{1, 2, 3, 4, 3, 4, 3, 4, 5, 6}));
    // Clipping the low edge takes the head, then the middle with its phase.
    EXPECT_EQ(draw_strip(p, 10, {3, 0, 10, 1}), (Row{0, 0, 0, 4, 3, 4, 3, 4, 5, 6}));
    // The high edge takes the tail first, then the middle.
    EXPECT_EQ(draw_strip(p, 10, {0, 0, 7, 1}), (Row{1, 2, 3, 4, 3, 4, 3, 0, 0, 0}));
    // Scale shift 1: every source pixel twice, points in doubled units.
    p = strip({1, 2, 3}, 0, 0);
    p.points = {Point{0, 0}, Point{2, 0}, Point{4, 2}, Point{6, 2}};
    p.scale_shift = 1;
    EXPECT_EQ(draw_strip(p, 9), (Row{1, 1, 2, 2, 2, 2, 2, 3, 3}));

    // No middle: its pixels stay as they were. Nonsense points never read
    // outside the bitmap.
    Picture no_middle = strip({1, 2, 3, 4}, 2, 2);
    EXPECT_EQ(draw_strip(no_middle, 7), (Row{1, 2, 0, 0, 0, 3, 4}));
    EXPECT_EQ(draw_strip(no_middle, 3), (Row{1, 0, 4}));
    Picture wild = strip({1, 2, 3}, 0, 0);
    wild.points = {Point{-50, -9}, Point{70, 1}, Point{-3, 40}, Point{900, 900}};
    wild.scale_shift = 40;
    draw_strip(wild, 50);
    Picture().draw(*std::make_unique<RenderSurface>(Size{4, 4}), {0, 0}, {4, 4}, pixel_ops::copy());
}

TEST(Picture, CopiesShareTheirPixelsSoConvertingToRedReachesThemAll) {
    Picture a = picture_of(2, 1, {0xF81F, 0x1234});
    Picture b = a;
    a.data()->convert_to_red();
    // The key colour stays as it was.
    EXPECT_EQ(b.data()->pixels().pixel(0, 0), 0xF81F);
    EXPECT_EQ(b.data()->pixels().pixel(1, 0), 0x1234 & 0xF820);
}

// A 9-slice speech bubble, 12 x 12: 4-pixel rounded corners keyed out with
// magenta, a dark border, a light body with a translucent inner shadow line,
// and a marked middle so tiling shows.
Picture bubble() {
    const uint16_t K = 0xF81F, B = 0x2945, W = 0xFFFF, S = 0x4208, M = 0x07E0;
    const char* art[12] = {"KKKBBBBBBKKK", "KKBWWWWWWBKK", "KBWWWWWWWWBK", "BWWSSSSSSWWB",
                           "BWWSWWWWSWWB", "BWWSWMMWSWWB", "BWWSWMMWSWWB", "BWWSWWWWSWWB",
                           "BWWSSSSSSWWB", "KBWWWWWWWWBK", "KKBWWWWWWBKK", "KKKBBBBBBKKK"};
    Row pixels;
    for (const char* line : art)
        for (const char* c = line; *c; ++c)
            pixels.push_back(*c == 'K' ? K : *c == 'B' ? B : *c == 'S' ? S : *c == 'M' ? M : W);
    Picture p = picture_of(12, 12, pixels);
    p.points = {Point{0, 0}, Point{4, 4}, Point{8, 8}, Point{12, 12}};
    return p;
}

// Draws the bubble in several sizes onto a 64 x 48 grey surface, with a clip
// cutting the largest one, and compares with the stored reference image.
// QUILLMO_UPDATE_GOLDEN=1 writes the reference instead.
TEST(PictureSlicing, BubbleMatchesTheReferenceImage) {
    RenderSurface s({64, 48});
    s.fill({0, 0}, {64, 48}, Color{0x60, 0x70, 0x80, 0xFF});
    Picture p = bubble();
    p.draw(s, {2, 2}, {5, 5}, pixel_ops::key());
    p.draw(s, {10, 2}, {7, 12}, pixel_ops::key());
    p.draw(s, {20, 2}, {12, 12}, pixel_ops::key());
    p.draw(s, {2, 18}, {30, 22}, pixel_ops::key());
    {
        ClipScope clip(s, {40, 10}, {20, 30});
        p.draw(s, {34, 4}, {30, 40}, pixel_ops::shade_1_2());
    }
    Picture doubled = p;
    doubled.scale_shift = 1;
    doubled.points = {Point{0, 0}, Point{8, 8}, Point{16, 16}, Point{24, 24}};
    doubled.draw(s, {34, 2}, {30, 6}, pixel_ops::key());

    expect_golden(s, QUILLMO_DRAW_GOLDEN_DIR, "slice_bubble");
}

}  // namespace
