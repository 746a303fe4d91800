#include <gtest/gtest.h>

#include <limits>

#include "skin/layout/Layout.h"

namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

AxisRule rule(LayoutMode mode, int32_t a = 0, int32_t b = 0) { return {mode, a, b}; }

}  // namespace

TEST(LayoutMode, NamesMatchWholeAndCaseSensitivelyElseBothSide) {
    EXPECT_EQ(layout_mode_from_name(u"MIN_SIDE"), LayoutMode::MIN_SIDE);
    EXPECT_EQ(layout_mode_from_name(u"CENTER"), LayoutMode::CENTER);
    EXPECT_EQ(layout_mode_from_name(u"BOTH_SIDE_NO_SIZE"), LayoutMode::BOTH_SIDE_NO_SIZE);
    EXPECT_EQ(static_cast<int>(layout_mode_from_name(u"RATIO")), 3);
    EXPECT_EQ(layout_mode_from_name(u"min_side"), LayoutMode::BOTH_SIDE);
    EXPECT_EQ(layout_mode_from_name(u"MIN_SIDE "), LayoutMode::BOTH_SIDE);
    EXPECT_EQ(layout_mode_from_name(u""), LayoutMode::BOTH_SIDE);
}

TEST(LayoutPlace, EveryModeInARoomyParent) {
    // Parent 100, borders 10 and 20, preferred 30.
    EXPECT_EQ(Layout::place(rule(LayoutMode::MIN_SIDE, 10, 20), 100, 30), (AxisSpan{10, 30}));
    EXPECT_EQ(Layout::place(rule(LayoutMode::BOTH_SIDE, 10, 20), 100, 30), (AxisSpan{10, 70}));
    EXPECT_EQ(Layout::place(rule(LayoutMode::MAX_SIDE, 10, 20), 100, 30), (AxisSpan{50, 30}));
    EXPECT_EQ(Layout::place(rule(LayoutMode::RATIO, 10, 20), 100, 30), (AxisSpan{10, 30}));
    EXPECT_EQ(Layout::place(rule(LayoutMode::CENTER, 10, 20), 100, 30), (AxisSpan{30, 30}));
    EXPECT_EQ(Layout::place(rule(LayoutMode::MIN_SIDE_NO_SIZE, 10, 20), 100, 30),
              (AxisSpan{10, 30}));
    EXPECT_EQ(Layout::place(rule(LayoutMode::MAX_SIDE_NO_SIZE, 10, 20), 100, 30),
              (AxisSpan{50, 30}));
    EXPECT_EQ(Layout::place(rule(LayoutMode::BOTH_SIDE_NO_SIZE, 10, 20), 100, 30),
              (AxisSpan{10, 70}));
    // Capped by the parent: MIN_SIDE minds only border_min, MAX_SIDE only border_max.
    EXPECT_EQ(Layout::place(rule(LayoutMode::MIN_SIDE, 10, 20), 100, 500), (AxisSpan{10, 90}));
    EXPECT_EQ(Layout::place(rule(LayoutMode::MAX_SIDE, 10, 20), 100, 500), (AxisSpan{0, 80}));
}

TEST(LayoutPlace, EdgeCasesFromTheDesign) {
    // BOTH_SIDE with borders 10 and 10 in a parent at 0, width 100.
    EXPECT_EQ(Layout::place_at(rule(LayoutMode::BOTH_SIDE, 10, 10), {0, 100}, 0),
              (AxisSpan{10, 80}));
    // MAX_SIDE ignores border_min.
    EXPECT_EQ(Layout::place(rule(LayoutMode::MAX_SIDE, 50, 5), 100, 30), (AxisSpan{65, 30}));
    // CENTER rounds the free space's half toward zero.
    EXPECT_EQ(Layout::place(rule(LayoutMode::CENTER), 100, 31), (AxisSpan{34, 31}));
}

TEST(LayoutPlace, NarrowParentsGiveZeroNeverNegative) {
    for (LayoutMode mode : {LayoutMode::MIN_SIDE, LayoutMode::BOTH_SIDE, LayoutMode::MAX_SIDE,
                            LayoutMode::RATIO, LayoutMode::CENTER, LayoutMode::BOTH_SIDE_NO_SIZE}) {
        const AxisSpan s = Layout::place(rule(mode, 50, 50), 40, 20);
        EXPECT_EQ(s.extent, 0) << static_cast<int>(mode);
        EXPECT_GE(s.position, 0) << static_cast<int>(mode);
    }
    EXPECT_EQ(Layout::place(rule(LayoutMode::CENTER, 50, 50), 40, 20), (AxisSpan{50, 0}));
    EXPECT_EQ(Layout::place(rule(LayoutMode::MIN_SIDE_NO_SIZE, 5, 5), 40, 70), (AxisSpan{5, 70}));
    // MAX_SIDE_NO_SIZE keeps its size and sticks to the start rather than leaving it.
    EXPECT_EQ(Layout::place(rule(LayoutMode::MAX_SIDE_NO_SIZE, 5, 5), 40, 70), (AxisSpan{0, 70}));
    EXPECT_EQ(Layout::place(rule(LayoutMode::MIN_SIDE_NO_SIZE), 40, -3), (AxisSpan{0, 0}));
}

TEST(LayoutPlace, ExtremeValuesSaturateInsteadOfOverflowing) {
    EXPECT_EQ(Layout::place(rule(LayoutMode::BOTH_SIDE, kMin, kMin), kMax, 0).extent, kMax);
    EXPECT_EQ(Layout::place(rule(LayoutMode::BOTH_SIDE, kMax, kMax), kMin, 0).extent, 0);
    EXPECT_EQ(Layout::place_at(rule(LayoutMode::MIN_SIDE, kMax), {kMax, kMax}, 10).position, kMax);
    const Rect r = Layout::place_child({kMin, 0, kMax, 10}, rule(LayoutMode::BOTH_SIDE),
                                       rule(LayoutMode::BOTH_SIDE), 0, 0);
    EXPECT_EQ(r.left, kMin);
    EXPECT_EQ(r.bottom, 10);
}

TEST(LayoutPlace, ChildRectangleFromBothAxes) {
    const Rect parent{100, 200, 300, 300};
    const Rect r = Layout::place_child(parent, rule(LayoutMode::MAX_SIDE, 0, 10),
                                       rule(LayoutMode::CENTER), 50, 20);
    EXPECT_EQ(r, (Rect{240, 240, 290, 260}));
}

TEST(LayoutMeasure, DesignSizeIsAFloorForBothValues) {
    SizeRange range;
    Layout::add_design_size(range, 40);
    EXPECT_EQ(range, (SizeRange{40, 40}));
    Layout::add_child(range, rule(LayoutMode::BOTH_SIDE, 5, 5), {60, 10});
    EXPECT_EQ(range, (SizeRange{70, 40}));
}

TEST(LayoutMeasure, ChildrenContributeBordersAndWhatTheyCanGiveUp) {
    SizeRange range;
    Layout::add_design_size(range, 0);
    Layout::add_child(range, rule(LayoutMode::MIN_SIDE, 10, 20), {50, 30});
    EXPECT_EQ(range, (SizeRange{80, 60}));
    Layout::add_child(range, rule(LayoutMode::CENTER), {70, 70});
    EXPECT_EQ(range, (SizeRange{80, 70}));
}

TEST(LayoutMeasure, NoSizeChildrenAddNothing) {
    for (LayoutMode mode : {LayoutMode::MIN_SIDE_NO_SIZE, LayoutMode::MAX_SIDE_NO_SIZE,
                            LayoutMode::BOTH_SIDE_NO_SIZE}) {
        SizeRange range;
        Layout::add_design_size(range, 0);
        Layout::add_child(range, rule(mode, 3, 4), {50, 10});
        EXPECT_EQ(range, (SizeRange{0, 0})) << static_cast<int>(mode);
    }
}

TEST(LayoutMeasure, HugeChildrenSaturate) {
    SizeRange range;
    Layout::add_child(range, rule(LayoutMode::MIN_SIDE, kMax, kMax), {kMax, kMax});
    EXPECT_EQ(range, (SizeRange{kMax, kMax}));
}
