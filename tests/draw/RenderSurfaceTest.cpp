#include "draw/RenderSurface.h"

#include <gtest/gtest.h>

#include <vector>

#include "draw/ClipScope.h"
#include "draw/PixelOps.h"

namespace {

// A surface whose pixel (x, y) holds y * 16 + x + 1, so every source pixel
// is recognisable where it lands.
void number(RenderSurface& s) {
    Size size = s.size();
    for (int32_t y = 0; y < size.height; ++y)
        for (int32_t x = 0; x < size.width; ++x)
            s.buffer()->set_pixel(x, y, static_cast<uint16_t>(y * 16 + x + 1));
}

// The pixels of a surface, row by row.
std::vector<std::vector<uint16_t>> pixels(const RenderSurface& s) {
    std::vector<std::vector<uint16_t>> rows;
    for (int32_t y = 0; y < s.size().height; ++y) {
        rows.emplace_back();
        for (int32_t x = 0; x < s.size().width; ++x) rows.back().push_back(s.buffer()->pixel(x, y));
    }
    return rows;
}

TEST(PixelBuffer, RowsStartOnFourByteBoundaries) {
    EXPECT_EQ(PixelBuffer::create(1, 3)->stride(), 4);
    EXPECT_EQ(PixelBuffer::create(2, 3)->stride(), 4);
    EXPECT_EQ(PixelBuffer::create(3, 3)->stride(), 8);
    auto odd = PixelBuffer::create(5, 3);
    EXPECT_EQ(odd->stride(), 12);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(odd->row(1)) % 4, 0u);
    EXPECT_EQ(reinterpret_cast<const uint8_t*>(odd->row(2)) - reinterpret_cast<const uint8_t*>(odd->row(0)), 24);
    EXPECT_EQ(PixelBuffer::create(-1, 3), nullptr);
    EXPECT_EQ(PixelBuffer::create(PixelBuffer::kMaxSide + 1, 1), nullptr);
    EXPECT_EQ(PixelBuffer::create(PixelBuffer::kMaxSide, PixelBuffer::kMaxSide), nullptr);
}

TEST(RenderSurface, RecreateCountsOwnedPixelsAndKeepsPixelsAtTheSameSize) {
    int64_t before = RenderSurface::owned_pixel_count();
    {
        RenderSurface s;
        EXPECT_EQ(s.size(), (Size{0, 0}));
        EXPECT_EQ(s.clip(), (Rect{0, 0, 0, 0}));
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

TEST(RenderSurface, RecreateUnderAnOpenClipIsFatal) {
    EXPECT_EXIT(
        {
            RenderSurface s({8, 8});
            ClipScope scope(s, {1, 1}, {2, 2});
            s.recreate({9, 9});
        },
        testing::ExitedWithCode(70), "Gluck: Clip is in effect, cannot resize @ RenderSurface::recreate");
}

TEST(RenderSurface, ClipIsClampedToTheBufferAndScopesNest) {
    RenderSurface s({20, 10});
    s.set_clip({-5, 2}, {30, 8});
    EXPECT_EQ(s.clip(), (Rect{0, 2, 20, 8}));
    s.set_clip({6, 6}, {4, 9});
    EXPECT_EQ(s.clip(), (Rect{6, 6, 6, 6}));
    s.set_clip({0, 0}, {20, 10});
    {
        ClipScope outer(s, {2, 3}, {10, 10});
        EXPECT_EQ(s.clip(), (Rect{2, 3, 12, 10}));
        EXPECT_EQ(s.clip_depth(), 1);
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
}

TEST(RenderSurface, FillCoversTheClippedRectangleOnly) {
    RenderSurface s({6, 3});
    s.set_clip({1, 0}, {5, 2});
    s.fill({-10, 1}, {13, 40}, Color{0xFF, 0x80, 0x08, 0});
    const uint16_t c = 0xF800 | (0x80 >> 2) << 5 | 0x01;
    EXPECT_EQ(pixels(s), (std::vector<std::vector<uint16_t>>{
                             {0, 0, 0, 0, 0, 0}, {0, c, c, 0, 0, 0}, {0, 0, 0, 0, 0, 0}}));
    auto fade = pixel_ops::make_fade(8);
    s.fill({0, 0}, {6, 3}, *fade);
    EXPECT_EQ(s.buffer()->pixel(1, 1), pixel_ops::fade_pixel(c, 8));
}

TEST(RenderSurface, BlitSkipsClippedSourceColumnsAndRowsAtEveryEdge) {
    RenderSurface src(Size{4, 4});
    number(src);
    auto blit_at = [&](Point at) {
        RenderSurface dst({8, 8});
        dst.set_clip({2, 2}, {6, 6});
        src.draw_onto(dst, at, pixel_ops::copy());
        return pixels(dst);
    };
    // Left and top: destination (2, 2) takes source (2, 2).
    auto top_left = blit_at({0, 0});
    EXPECT_EQ(top_left[2][2], 2 * 16 + 2 + 1);
    EXPECT_EQ(top_left[3][3], 3 * 16 + 3 + 1);
    EXPECT_EQ(top_left[1][1], 0);
    EXPECT_EQ(top_left[2][4], 0);
    // Right and bottom: only the clip's last column and row are reached.
    auto bottom_right = blit_at({5, 5});
    EXPECT_EQ(bottom_right[5][5], 1);
    EXPECT_EQ(bottom_right[5][4], 0);
    EXPECT_EQ(bottom_right[6][6], 0);
    auto inside = blit_at({2, 2});
    EXPECT_EQ(inside[5][5], 3 * 16 + 3 + 1);
    EXPECT_EQ(inside[2][2], 1);
    // Entirely outside on each side: nothing.
    for (Point at : {Point{-4, 3}, Point{6, 3}, Point{3, -4}, Point{3, 6}, Point{-2000000000, -2000000000}})
        EXPECT_EQ(blit_at(at), pixels(RenderSurface({8, 8}))) << at.x << "," << at.y;
}

TEST(RenderSurface, BlitFromASourceOriginStopsAtTheSourceEdge) {
    RenderSurface src(Size{4, 4});
    number(src);
    RenderSurface dst({4, 4});
    dst.blit({0, 0}, {4, 4}, *src.buffer(), {2, 3}, pixel_ops::copy());
    EXPECT_EQ(pixels(dst), (std::vector<std::vector<uint16_t>>{
                               {3 * 16 + 3, 3 * 16 + 4, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}));
    RenderSurface empty;
    empty.draw_onto(dst, {0, 0}, pixel_ops::copy());
    src.draw_onto(empty, {0, 0}, pixel_ops::copy());
}

TEST(RenderSurface, ScaledBlitPicksNearestSourcePixelsInFixedPoint) {
    RenderSurface src(Size{3, 2});
    number(src);
    RenderSurface dst({4, 2});
    // Step 3072 / 4 = 768: positions 0, 0.75, 1.5, 2.25.
    src.draw_scaled_onto(dst, {0, 0}, {4, 2}, pixel_ops::copy());
    EXPECT_EQ(pixels(dst), (std::vector<std::vector<uint16_t>>{{1, 1, 2, 3}, {17, 17, 18, 19}}));

    // Clipping on the left advances the start by whole steps.
    RenderSurface clipped({4, 2});
    clipped.set_clip({2, 1}, {4, 2});
    src.draw_scaled_onto(clipped, {0, 0}, {4, 2}, pixel_ops::copy());
    EXPECT_EQ(pixels(clipped), (std::vector<std::vector<uint16_t>>{{0, 0, 0, 0}, {0, 0, 18, 19}}));

    // Shrinking 3 -> 2: step 1536, positions 0 and 1.5.
    RenderSurface small({2, 1});
    src.draw_scaled_onto(small, {0, 0}, {2, 1}, pixel_ops::copy());
    EXPECT_EQ(pixels(small), (std::vector<std::vector<uint16_t>>{{1, 2}}));

    // A source rectangle reaching outside the source draws nothing.
    RenderSurface untouched({4, 2});
    untouched.blit_scaled({0, 0}, {4, 2}, *src.buffer(), {1, 0}, {3, 2}, pixel_ops::copy());
    untouched.blit_scaled({0, 0}, {4, 2}, *src.buffer(), {-1, 0}, {2, 2}, pixel_ops::copy());
    EXPECT_EQ(pixels(untouched), pixels(RenderSurface({4, 2})));
}

}  // namespace
