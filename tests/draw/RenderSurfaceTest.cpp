#include <gtest/gtest.h>

#include <vector>

#include "draw/ClipScope.h"
#include "draw/PixelOps.h"
#include "draw/RenderSurface.h"

namespace {

using Pixels = std::vector<std::vector<uint16_t>>;

// Gives pixel (x, y) the value y * 16 + x + 1, so every source pixel is
// recognisable where it lands.
void number(RenderSurface& s) {
    for (int32_t y = 0; y < s.size().height; ++y)
        for (int32_t x = 0; x < s.size().width; ++x)
            s.buffer()->set_pixel(x, y, static_cast<uint16_t>(y * 16 + x + 1));
}

Pixels pixels(const RenderSurface& s) {
    Pixels rows(static_cast<size_t>(s.size().height));
    for (int32_t y = 0; y < s.size().height; ++y)
        for (int32_t x = 0; x < s.size().width; ++x) rows[y].push_back(s.buffer()->pixel(x, y));
    return rows;
}

TEST(PixelBuffer, RowsStartOnFourByteBoundariesAndImpossibleSizesGiveNone) {
    auto odd = PixelBuffer::create(5, 3);
    EXPECT_EQ(odd->stride(), 12);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(odd->row(1)) % 4, 0u);
    EXPECT_EQ(PixelBuffer::create(-1, 3), nullptr);
    EXPECT_EQ(PixelBuffer::create(PixelBuffer::kMaxSide + 1, 1), nullptr);
    EXPECT_EQ(PixelBuffer::create(PixelBuffer::kMaxSide, PixelBuffer::kMaxSide), nullptr);
}

TEST(RenderSurface, RecreateCountsOwnedPixelsAndKeepsPixelsAtTheSameSize) {
    int64_t before = RenderSurface::owned_pixel_count();
    {
        RenderSurface s;
        EXPECT_FALSE(s.recreate({0, 0}));
        EXPECT_TRUE(s.recreate({10, 5}));
        EXPECT_EQ(s.clip(), (Rect{0, 0, 10, 5}));
        EXPECT_EQ(RenderSurface::owned_pixel_count(), before + 50);
        s.buffer()->set_pixel(3, 3, 0x1234);
        EXPECT_FALSE(s.recreate({10, 5}));
        EXPECT_EQ(s.buffer()->pixel(3, 3), 0x1234);
        EXPECT_TRUE(s.recreate({4, 4}));
        EXPECT_EQ(RenderSurface::owned_pixel_count(), before + 16);
        // A size no buffer can have leaves the surface without one, drawing nothing.
        EXPECT_TRUE(s.recreate({-3, 4}));
        EXPECT_EQ(s.size(), (Size{0, 0}));
        EXPECT_EQ(RenderSurface::owned_pixel_count(), before);
        s.fill({0, 0}, {5, 5}, Color{255, 255, 255, 255});
        EXPECT_TRUE(s.recreate({2, 2}));
        RenderSurface lent_to(*s.buffer());
        EXPECT_EQ(RenderSurface::owned_pixel_count(), before + 4);
    }
    EXPECT_EQ(RenderSurface::owned_pixel_count(), before);
}

TEST(RenderSurface, ClipIsClampedToTheBufferScopesNestAndResizingUnderOneIsFatal) {
    RenderSurface s({20, 10});
    s.set_clip({-5, 2}, {30, 8});
    EXPECT_EQ(s.clip(), (Rect{0, 2, 20, 8}));
    s.set_clip({6, 6}, {4, 9});
    EXPECT_EQ(s.clip(), (Rect{6, 6, 6, 6}));
    s.set_clip({0, 0}, {20, 10});
    {
        ClipScope outer(s, {2, 3}, {10, 10});
        EXPECT_EQ(s.clip(), (Rect{2, 3, 12, 10}));
        {
            ClipScope inner(s, {8, -4}, {100, 6});
            EXPECT_EQ(s.clip(), (Rect{8, 3, 8, 3}));
            EXPECT_EQ(s.clip_depth(), 2);
        }
        EXPECT_EQ(s.clip(), (Rect{2, 3, 12, 10}));
        ClipScope far(s, {2000000000, 5}, {2000000000, 5});
        EXPECT_TRUE(s.clip().empty());
    }
    EXPECT_EQ(s.clip(), (Rect{0, 0, 20, 10}));
    EXPECT_EQ(s.clip_depth(), 0);
    EXPECT_EXIT(
        {
            ClipScope scope(s, {1, 1}, {2, 2});
            s.recreate({9, 9});
        },
        testing::ExitedWithCode(70),
        "Gluck: Clip is in effect, cannot resize @ RenderSurface::recreate");
}

TEST(RenderSurface, FillCoversTheClippedRectangleOnly) {
    RenderSurface s({6, 3});
    s.set_clip({1, 0}, {5, 2});
    s.fill({-10, 1}, {13, 40}, Color{0xFF, 0x80, 0x08, 0});
    const uint16_t c = 0xF800 | (0x80 >> 2) << 5 | 0x01;
    EXPECT_EQ(pixels(s), (Pixels{{0, 0, 0, 0, 0, 0}, {0, c, c, 0, 0, 0}, {0, 0, 0, 0, 0, 0}}));
    s.fill({0, 0}, {6, 3}, *pixel_ops::make_fade(8));
    EXPECT_EQ(s.buffer()->pixel(1, 1), pixel_ops::fade_pixel(c, 8));
}

TEST(RenderSurface, BlitCopiesOnlyWhereClipAndSourceOverlap) {
    RenderSurface src(Size{4, 4});
    number(src);
    // An 8 x 8 destination clipped to (2, 2) - (6, 6): each clipped pixel takes
    // the source pixel under it, all others stay 0.
    auto blit_at = [&](Point at) {
        RenderSurface dst({8, 8});
        dst.set_clip({2, 2}, {6, 6});
        src.draw_onto(dst, at, pixel_ops::copy());
        return pixels(dst);
    };
    auto expected_at = [](Point at) {
        Pixels e(8, std::vector<uint16_t>(8, 0));
        for (int32_t y = 2; y < 6; ++y)
            for (int32_t x = 2; x < 6; ++x)
                if (x >= at.x && x < at.x + 4 && y >= at.y && y < at.y + 4)
                    e[y][x] = static_cast<uint16_t>((y - at.y) * 16 + x - at.x + 1);
        return e;
    };
    for (Point at : {Point{0, 0}, Point{5, 5}, Point{2, 2}, Point{-4, 3}, Point{6, 3}, Point{3, -4},
                     Point{3, 6}, Point{-2000000000, -2000000000}})
        EXPECT_EQ(blit_at(at), expected_at(at)) << at.x << "," << at.y;
    // From a source origin the blit stops at the source's edge; a surface
    // without a buffer neither gives nor takes pixels.
    RenderSurface dst({4, 4});
    dst.blit({0, 0}, {4, 4}, *src.buffer(), {2, 3}, pixel_ops::copy());
    EXPECT_EQ(pixels(dst),
              (Pixels{{3 * 16 + 3, 3 * 16 + 4, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}));
    RenderSurface empty;
    empty.draw_onto(dst, {0, 0}, pixel_ops::copy());
    src.draw_onto(empty, {0, 0}, pixel_ops::copy());
}

TEST(RenderSurface, ScaledBlitPicksNearestSourcePixelsInFixedPoint) {
    RenderSurface src(Size{3, 2});
    number(src);
    auto scaled = [&](Size size, Rect clip) {
        RenderSurface dst(size);
        dst.set_clip(clip.top_left(), clip.bottom_right());
        src.draw_scaled_onto(dst, {0, 0}, size, pixel_ops::copy());
        return pixels(dst);
    };
    // Step 3072 / 4 = 768: positions 0, 0.75, 1.5, 2.25.
    EXPECT_EQ(scaled({4, 2}, {0, 0, 4, 2}), (Pixels{{1, 1, 2, 3}, {17, 17, 18, 19}}));
    // Clipping on the left advances the start by whole steps.
    EXPECT_EQ(scaled({4, 2}, {2, 1, 4, 2}), (Pixels{{0, 0, 0, 0}, {0, 0, 18, 19}}));
    // Shrinking 3 -> 2: step 1536, positions 0 and 1.5.
    EXPECT_EQ(scaled({2, 1}, {0, 0, 2, 1}), (Pixels{{1, 2}}));
    // A source rectangle reaching outside the source draws nothing.
    RenderSurface untouched({4, 2});
    untouched.blit_scaled({0, 0}, {4, 2}, *src.buffer(), {1, 0}, {3, 2}, pixel_ops::copy());
    untouched.blit_scaled({0, 0}, {4, 2}, *src.buffer(), {-1, 0}, {2, 2}, pixel_ops::copy());
    EXPECT_EQ(pixels(untouched), pixels(RenderSurface({4, 2})));
}

}  // namespace
