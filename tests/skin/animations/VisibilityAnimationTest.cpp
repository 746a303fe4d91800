#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "draw/ClipScope.h"
#include "draw/PixelOps.h"
#include "skin/animations/FlipAnimation.h"
#include "skin/animations/PopAnimation.h"
#include "skin/animations/ScaleAnimation.h"
#include "skin/animations/SlideAnimation.h"
#include "skin/animations/VisibilityAnimation.h"

namespace {

constexpr uint16_t kBack = 0x4208;
using Pick = bool (*)(uint16_t);
const Pick drawn = [](uint16_t p) { return p != kBack; };
const Pick from_new = [](uint16_t p) { return p >= 0x0100 && p < 0x4000; };
const Pick from_old = [](uint16_t p) { return p >= 0x8000 && p < 0xC000; };

// Pixel (x, y) holds base + y * 256 + x: 0x0100 marks the new image, 0x8000 the
// old one. Up to 100 x 50 the ranges keep clear of each other and of kBack.
void number(RenderSurface& s, Size size, uint16_t base) {
    s.recreate(size);
    for (int32_t y = 0; y < size.height; ++y)
        for (int32_t x = 0; x < size.width; ++x)
            s.buffer()->set_pixel(x, y, static_cast<uint16_t>(base + y * 256 + x));
}

void clear(RenderSurface& s, Size size) {
    s.recreate(size);
    s.fill({0, 0}, size, Color{64, 64, 64, 255});  // kBack
}

// The bounding box of the pixels that pick accepts.
Rect bounds(const RenderSurface& s, const Pick& pick) {
    Rect r{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (int32_t y = 0; y < s.size().height; ++y)
        for (int32_t x = 0; x < s.size().width; ++x)
            if (pick(s.buffer()->pixel(x, y)))
                r = {std::min(r.left, x), std::min(r.top, y), std::max(r.right, x + 1),
                     std::max(r.bottom, y + 1)};
    return r.left == INT_MAX ? Rect{} : r;
}

// Starts anim on a numbered new image (and old one when old_size is given).
void start(VisibilityAnimation& anim, int32_t direction, Size new_size, Size old_size = {}) {
    RenderSurface old_image, new_image;
    if (!old_size.empty()) number(old_image, old_size, 0x8000);
    if (!new_size.empty()) number(new_image, new_size, 0x0100);
    anim.start(old_size.empty() ? nullptr : &old_image, nullptr, direction,
               new_size.empty() ? nullptr : &new_image, nullptr);
}

// Draws anim at position onto a cleared screen.
void draw(VisibilityAnimation& anim, RenderSurface& screen, Size size, Point position) {
    clear(screen, size);
    anim.draw(screen, position);
}

}  // namespace

TEST(VisibilityAnimation, NamesGiveKindsAndClonesKeepSettingsButNotImages) {
    const char16_t* sides[] = {u"right", u"bottom", u"left", u"top"};
    for (int32_t i = 0; i < 4; ++i)
        EXPECT_EQ(dynamic_cast<SlideAnimation&>(*VisibilityAnimation::create(sides[i])).side(),
                  static_cast<SlideAnimation::Side>(i));
    EXPECT_EQ(VisibilityAnimation::create(u"scale")->speed(), 1.0);
    EXPECT_EQ(dynamic_cast<PopAnimation&>(*VisibilityAnimation::create(u"pop")).speed(), 0.5);
    EXPECT_EQ(dynamic_cast<FlipAnimation&>(*VisibilityAnimation::create(u"flip")).speed(), 0.5);
    EXPECT_EQ(VisibilityAnimation::create(u"fade"), nullptr);

    SlideAnimation slide(SlideAnimation::Side::top);
    slide.set_draw_op(pixel_ops::make_fill(0x1234));
    start(slide, -1, {8, 8});
    auto copy = slide.clone();
    EXPECT_EQ(dynamic_cast<SlideAnimation&>(*copy).side(), SlideAnimation::Side::top);
    EXPECT_EQ(copy->to_image().buffer(), nullptr);
    RenderSurface screen;
    start(*copy, -1, {8, 8});
    draw(*copy, screen, {8, 8}, {0, 0});
    EXPECT_TRUE(bounds(screen, [](uint16_t p) { return p != 0x1234; }).empty());

    // Until replaced, the draw op is the key op: magenta is transparent.
    auto scale = VisibilityAnimation::create(u"scale");
    RenderSurface image(Size{8, 8});
    image.fill({0, 0}, {8, 8}, Color{255, 0, 255, 255});
    scale->start(nullptr, nullptr, -1, &image, nullptr);
    draw(*scale, screen, {8, 8}, {0, 0});
    EXPECT_TRUE(bounds(screen, drawn).empty());
}

TEST(VisibilityAnimation, ScaleGrowsFromTheCentreAndLetsItsImagesGoAtTheEnd) {
    const int64_t before = RenderSurface::owned_pixel_count();
    ScaleAnimation anim;
    RenderSurface old_image, new_image, screen;
    number(old_image, {100, 50}, 0x8000);
    number(new_image, {100, 50}, 0x0100);
    anim.start(&old_image, nullptr, 1, &new_image, nullptr);
    EXPECT_EQ(new_image.buffer(), nullptr);  // taken over, not copied
    EXPECT_EQ(old_image.buffer(), nullptr);
    anim.advance(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(anim.progress(), 0.0);
    // t = 0.25, 0.5, 0.75 give factors 0.0625, 0.25, 0.5625, centred with
    // truncated sizes and offsets; the old image lies unscaled beneath.
    for (const Rect& r : {Rect{57, 33, 63, 36}, Rect{47, 29, 72, 41}, Rect{32, 21, 88, 49}}) {
        anim.advance(0.05);
        draw(anim, screen, {120, 80}, {10, 10});
        EXPECT_EQ(bounds(screen, from_new), r);
        EXPECT_EQ(bounds(screen, drawn), (Rect{10, 10, 110, 60}));
    }
    anim.advance(0.05);
    EXPECT_FALSE(anim.running());
    EXPECT_EQ(RenderSurface::owned_pixel_count(), before + 120 * 80);  // both images let go

    start(anim, -1, {100, 50});  // t = 1: at its own size
    draw(anim, screen, {120, 80}, {10, 10});
    EXPECT_EQ(bounds(screen, from_new), (Rect{10, 10, 110, 60}));
}

TEST(VisibilityAnimation, PopOvershootsAndPlaysBackOnlyAsFarAsItCame) {
    PopAnimation pop;
    EXPECT_NEAR(pop.factor(0.0), 0.0, 1e-12);
    EXPECT_NEAR(pop.factor(1.0), 1.0, 1e-12);
    EXPECT_GT(pop.factor(0.61), std::max(pop.factor(0.58), pop.factor(0.64)));  // the peak

    RenderSurface screen;
    start(pop, 1, {100, 50});
    pop.advance(0.244);  // t = 0.61: 124 x 62, offsets truncated toward zero
    draw(pop, screen, {160, 120}, {30, 30});
    EXPECT_EQ(bounds(screen, from_new), (Rect{18, 24, 142, 86}));
    pop.reverse();
    pop.advance(0.2);
    EXPECT_TRUE(pop.running());
    pop.advance(0.05);
    EXPECT_FALSE(pop.running());
    EXPECT_EQ(pop.progress(), 0.0);
}

TEST(VisibilityAnimation, SlidesPushTheOldImageOutOfTheOppositeSide) {
    // Where each image's top-left lies at t = 0.5 in a 100 x 50 rectangle: "left"
    // draws the new image 50 px left of its place and the old one 50 px right.
    const Point offsets[][2] = {
        {{50, 0}, {-50, 0}}, {{0, 25}, {0, -25}}, {{-50, 0}, {50, 0}}, {{0, -25}, {0, 25}}};
    for (int32_t side = 0; side < 4; ++side) {
        SlideAnimation slide(static_cast<SlideAnimation::Side>(side));
        RenderSurface screen;
        start(slide, 1, {100, 50}, {100, 50});
        slide.advance(0.1);
        draw(slide, screen, {200, 120}, {40, 30});
        EXPECT_EQ(screen.clip(), (Rect{0, 0, 200, 120}));
        EXPECT_EQ(bounds(screen, drawn), (Rect{40, 30, 140, 80}));
        for (int32_t i = 0; i < 2; ++i) {
            Point o = offsets[side][i];
            int32_t x = std::max(0, o.x), y = std::max(0, o.y);  // first visible pixel
            EXPECT_EQ(screen.buffer()->pixel(40 + x, 30 + y),
                      (i ? 0x8000 : 0x0100) + (y - o.y) * 256 + (x - o.x))
                << side << " " << i;
        }
    }
}

// The flip turns a 60 x 40 card drawn at (50, 40) on a 160 x 120 screen.
class Flip : public ::testing::Test {
protected:
    Rect draw_at(double t) {
        while (flip.running() && flip.progress() + 1e-9 < t) flip.advance(0.02);
        draw(flip, screen, {160, 120}, {50, 40});
        return bounds(screen, drawn);
    }
    // Whether the screen shows exactly the numbered face from base, flat.
    bool shows_flat(uint16_t base) {
        RenderSurface reference, image;
        clear(reference, {160, 120});
        number(image, {60, 40}, base);
        image.draw_onto(reference, {50, 40}, pixel_ops::copy());
        return !std::memcmp(screen.buffer()->pixels(), reference.buffer()->pixels(), 160 * 120 * 2);
    }
    // The face turns in perspective, centred: the edge nearer the viewer is
    // wider than the rectangle, the far one narrower; the image stays upright.
    void expect_turned(Rect r, bool top_near) {
        EXPECT_LE(std::abs((r.left - 50) - (110 - r.right)), 1);
        const int32_t top = row(r.top).first, bottom = row(r.bottom - 1).first;
        EXPECT_TRUE(top_near ? top > 60 && bottom < 60 : top < 60 && bottom > 60)
            << top << " " << bottom;
        EXPECT_EQ(row(r.top).second, 0);
        EXPECT_EQ(row(r.bottom - 1).second, 39);
    }
    // Width of the drawn span in row y, and the image row shown at its left end.
    std::pair<int32_t, int32_t> row(int32_t y) const {
        int32_t x = bounds(screen, drawn).left;
        while (screen.buffer()->pixel(x, y) == kBack) ++x;
        int32_t end = x;
        while (end < 160 && screen.buffer()->pixel(end, y) != kBack) ++end;
        const uint16_t p = screen.buffer()->pixel(x, y);
        return {end - x, (p - (p >= 0x8000 ? 0x8000 : 0x0100)) >> 8};
    }

    FlipAnimation flip;
    RenderSurface screen;
};

TEST_F(Flip, CoversTheRectangleExactlyAtBothEndsTurnsInPerspectiveAndDrawsNoEmptyFace) {
    start(flip, 1, {60, 40}, {60, 40});
    draw_at(0.0);
    EXPECT_TRUE(shows_flat(0x8000));
    // The old face's top swings towards the viewer.
    expect_turned(draw_at(0.2), true);
    EXPECT_TRUE(bounds(screen, from_new).empty());
    // Edge-on the card is a line at most.
    EXPECT_LE(draw_at(0.5).size().height, 1);
    // The new face upright, its top on the far edge.
    expect_turned(draw_at(0.8), false);
    EXPECT_TRUE(bounds(screen, from_old).empty());

    start(flip, -1, {60, 40}, {60, 40});
    EXPECT_TRUE(flip.backwards());
    draw_at(1.0);
    EXPECT_TRUE(shows_flat(0x0100));

    // An empty face draws nothing.
    start(flip, 1, {60, 40});  // shown without an old image: nothing until the new face turns up
    EXPECT_TRUE(draw_at(0.3).empty());
    EXPECT_FALSE(draw_at(0.7).empty());
    start(flip, 1, {}, {60, 40});  // no new image: no card at all
    EXPECT_TRUE(draw_at(0.1).empty());
}

TEST_F(Flip, StaysInsideTheClipWhateverTheShapes) {
    // A much taller old face swings the card up to the viewer.
    for (Size old_size : {Size{60, 40}, Size{10, 400}, Size{300, 5}, Size{1, 1}})
        for (Point at : {Point{-50, -30}, Point{150, 110}, Point{INT_MAX - 9, INT_MIN + 9}})
            for (start(flip, 1, {60, 40}, old_size); flip.running(); flip.advance(0.01)) {
                clear(screen, {160, 120});
                {
                    ClipScope clip(screen, {20, 10}, {100, 80});
                    flip.draw(screen, at);
                }
                Rect r = bounds(screen, drawn);
                EXPECT_TRUE(r.empty() ||
                            (r.left >= 20 && r.top >= 10 && r.right <= 120 && r.bottom <= 90));
            }
}
