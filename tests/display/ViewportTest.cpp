#include <gtest/gtest.h>

#include "display/Viewport.h"

namespace {

TEST(ViewportTest, PictureGrowsByTheLargestWholeFactorAndIsCentred) {
    // 1000 / 480 = 2, 1700 / 800 = 2: 960 x 1600 between bars of 20 and 50.
    Viewport twice({480, 800}, {1000, 1700}, {1000, 1700});
    EXPECT_EQ(twice.destination(), (Rect{20, 50, 980, 1650}));
    EXPECT_EQ(twice.scale(), 2.0);
    EXPECT_EQ(twice.filter(), Viewport::Filter::Nearest);
    // The tighter axis decides: 3x fits across but only 1x down.
    Viewport once({480, 800}, {1500, 1000}, {1500, 1000});
    EXPECT_EQ(once.destination(), (Rect{510, 100, 990, 900}));

    // High DPI: a 500 x 850 point window drawn at 1000 x 1700 pixels gives
    // the same sharp 2x picture; points map through the drawable's pixels.
    Viewport dense({480, 800}, {500, 850}, {1000, 1700});
    EXPECT_EQ(dense.destination(), twice.destination());
    EXPECT_EQ(dense.filter(), Viewport::Filter::Nearest);
    EXPECT_EQ(dense.to_picture({10, 25}), (Point{0, 0}));
    EXPECT_EQ(dense.to_picture({250, 425}), (Point{240, 400}));
    EXPECT_EQ(dense.to_picture({489, 824}), (Point{479, 799}));
}

TEST(ViewportTest, AScreenThatDoesNotFitShrinksSmoothly) {
    Viewport narrow({480, 800}, {240, 800}, {240, 800});
    EXPECT_EQ(narrow.destination(), (Rect{0, 200, 240, 600}));
    EXPECT_EQ(narrow.scale(), 0.5);
    EXPECT_EQ(narrow.filter(), Viewport::Filter::Linear);
    Viewport low({480, 800}, {1024, 768}, {1024, 768});
    EXPECT_EQ(low.destination(), (Rect{282, 0, 742, 768}));
    EXPECT_EQ(low.to_picture({1023, 767}), (Point{479, 799}));
    // However small the window, the picture keeps a pixel; with no window or
    // no picture nothing is shown.
    EXPECT_EQ(Viewport({480, 800}, {1, 1}, {1, 1}).destination(), (Rect{0, 0, 1, 1}));
    for (const Viewport& none :
         {Viewport({480, 800}, {0, 0}, {0, 0}), Viewport({480, 800}, {100, 100}, {0, 0}),
          Viewport({0, 0}, {100, 100}, {100, 100})}) {
        EXPECT_TRUE(none.destination().empty());
        EXPECT_EQ(none.to_picture({50, 50}), (Point{0, 0}));
    }
}

TEST(ViewportTest, PointsMapBackToTheirPixelAndOutsideToTheEdge) {
    // 100 x 60 in 350 x 250: 3x at (25, 35).
    Viewport layout({100, 60}, {350, 250}, {350, 250});
    ASSERT_EQ(layout.destination(), (Rect{25, 35, 325, 215}));
    for (int32_t y = 0; y < 60; ++y)
        for (int32_t x = 0; x < 100; ++x)
            for (int32_t d : {0, 2})
                ASSERT_EQ(layout.to_picture({25 + 3 * x + d, 35 + 3 * y + d}), (Point{x, y}));
    EXPECT_EQ(layout.to_picture({24, 100}), (Point{0, 21}));
    EXPECT_EQ(layout.to_picture({340, 240}), (Point{99, 59}));
    EXPECT_EQ(layout.to_picture({-5000, 9000}), (Point{0, 59}));
    EXPECT_EQ(layout.to_picture({100, -1}), (Point{25, 0}));
}

TEST(ViewportTest, FirstWindowIsTheScreenAtTheLargestFactorTheDesktopHolds) {
    EXPECT_EQ(Viewport::initial_window_size({480, 800}, {1920, 1040}), (Size{480, 800}));
    EXPECT_EQ(Viewport::initial_window_size({240, 320}, {2560, 1400}), (Size{960, 1280}));
    EXPECT_EQ(Viewport::initial_window_size({480, 800}, {1024, 768}), (Size{460, 768}));
}

TEST(ViewportTest, OnlyAWindowOfTheOtherOrientationTurnsTheScreen) {
    EXPECT_TRUE(Viewport::turns({800, 480}, {480, 800}));
    EXPECT_TRUE(Viewport::turns({400, 1000}, {800, 480}));
    EXPECT_FALSE(Viewport::turns({600, 1000}, {480, 800}));
    EXPECT_FALSE(Viewport::turns({700, 700}, {480, 800}));
    EXPECT_FALSE(Viewport::turns({800, 480}, {500, 500}));

    ScreenInfo upright{480, 800, {0, 0}, {480, 800}, 4, 192};
    ScreenInfo turned = Viewport::turned(upright);
    EXPECT_EQ(turned, (ScreenInfo{800, 480, {0, 0}, {800, 480}, 1, 192}));
    EXPECT_EQ(Viewport::turned(turned), upright);
}

}  // namespace
