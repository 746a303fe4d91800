#include <gtest/gtest.h>

#include <limits>

#include "skin/layout/Layout.h"

namespace {

using M = LayoutMode;
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

AxisRule rule(LayoutMode mode, int32_t a = 0, int32_t b = 0) { return {mode, a, b}; }

}  // namespace

TEST(LayoutMode, NamesMatchWholeAndCaseSensitivelyElseBothSide) {
    EXPECT_EQ(layout_mode_from_name(u"MIN_SIDE"), M::MIN_SIDE);
    EXPECT_EQ(layout_mode_from_name(u"BOTH_SIDE_NO_SIZE"), M::BOTH_SIDE_NO_SIZE);
    EXPECT_EQ(static_cast<int>(layout_mode_from_name(u"RATIO")), 3);
    for (auto name : {u"min_side", u"MIN_SIDE ", u""})
        EXPECT_EQ(layout_mode_from_name(name), M::BOTH_SIDE);
}

TEST(LayoutPlace, EveryModeInRoomyAndNarrowParents) {
    struct Case {
        M mode;
        int32_t border_min, border_max, parent, preferred;
        AxisSpan expected;
    };
    const Case cases[] = {
        {M::MIN_SIDE, 10, 20, 100, 30, {10, 30}},
        {M::BOTH_SIDE, 10, 20, 100, 30, {10, 70}},
        {M::MAX_SIDE, 10, 20, 100, 30, {50, 30}},
        {M::RATIO, 10, 20, 100, 30, {10, 30}},
        {M::CENTER, 10, 20, 100, 30, {30, 30}},
        {M::MIN_SIDE_NO_SIZE, 10, 20, 100, 30, {10, 30}},
        {M::MAX_SIDE_NO_SIZE, 10, 20, 100, 30, {50, 30}},
        {M::BOTH_SIDE_NO_SIZE, 10, 20, 100, 30, {10, 70}},
        // Capped by the parent: MIN_SIDE minds only border_min, MAX_SIDE only
        // border_max.
        {M::MIN_SIDE, 10, 20, 100, 500, {10, 90}},
        {M::MAX_SIDE, 10, 20, 100, 500, {0, 80}},
        {M::MAX_SIDE, 50, 5, 100, 30, {65, 30}},
        // CENTER rounds the free space's half toward zero.
        {M::CENTER, 0, 0, 100, 31, {34, 31}},
        {M::CENTER, 50, 50, 40, 20, {50, 0}},
        // _NO_SIZE keeps its size past the parent; MAX_SIDE_NO_SIZE sticks to
        // the start rather than leaving it.
        {M::MIN_SIDE_NO_SIZE, 5, 5, 40, 70, {5, 70}},
        {M::MAX_SIDE_NO_SIZE, 5, 5, 40, 70, {0, 70}},
        {M::MIN_SIDE_NO_SIZE, 0, 0, 40, -3, {0, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Layout::place(rule(c.mode, c.border_min, c.border_max), c.parent, c.preferred),
                  c.expected)
            << static_cast<int>(c.mode) << " " << c.parent << " " << c.preferred;
    // Parents narrower than their borders give zero, never negative.
    for (M mode :
         {M::MIN_SIDE, M::BOTH_SIDE, M::MAX_SIDE, M::RATIO, M::CENTER, M::BOTH_SIDE_NO_SIZE}) {
        const AxisSpan s = Layout::place(rule(mode, 50, 50), 40, 20);
        EXPECT_EQ(s.extent, 0) << static_cast<int>(mode);
        EXPECT_GE(s.position, 0) << static_cast<int>(mode);
    }
    EXPECT_EQ(Layout::place_at(rule(M::BOTH_SIDE, 10, 10), {0, 100}, 0), (AxisSpan{10, 80}));
    EXPECT_EQ(Layout::place_child({100, 200, 300, 300}, rule(M::MAX_SIDE, 0, 10), rule(M::CENTER),
                                  50, 20),
              (Rect{240, 240, 290, 260}));
}

TEST(LayoutPlace, ExtremeValuesSaturateInsteadOfOverflowing) {
    EXPECT_EQ(Layout::place(rule(M::BOTH_SIDE, kMin, kMin), kMax, 0).extent, kMax);
    EXPECT_EQ(Layout::place(rule(M::BOTH_SIDE, kMax, kMax), kMin, 0).extent, 0);
    EXPECT_EQ(Layout::place_at(rule(M::MIN_SIDE, kMax), {kMax, kMax}, 10).position, kMax);
    const Rect r =
        Layout::place_child({kMin, 0, kMax, 10}, rule(M::BOTH_SIDE), rule(M::BOTH_SIDE), 0, 0);
    EXPECT_EQ(r.left, kMin);
    EXPECT_EQ(r.bottom, 10);
    SizeRange huge;
    Layout::add_child(huge, rule(M::MIN_SIDE, kMax, kMax), {kMax, kMax});
    EXPECT_EQ(huge, (SizeRange{kMax, kMax}));
}

TEST(LayoutMeasure, TheDesignSizeIsAFloorAndChildrenAddBordersAndWhatTheyCanGiveUp) {
    SizeRange range;
    Layout::add_design_size(range, 40);
    EXPECT_EQ(range, (SizeRange{40, 40}));
    Layout::add_child(range, rule(M::BOTH_SIDE, 5, 5), {60, 10});
    EXPECT_EQ(range, (SizeRange{70, 40}));
    Layout::add_child(range, rule(M::MIN_SIDE, 10, 20), {50, 30});
    EXPECT_EQ(range, (SizeRange{80, 60}));
    Layout::add_child(range, rule(M::CENTER), {70, 70});
    EXPECT_EQ(range, (SizeRange{80, 70}));
    // _NO_SIZE children add nothing.
    for (M mode : {M::MIN_SIDE_NO_SIZE, M::MAX_SIDE_NO_SIZE, M::BOTH_SIDE_NO_SIZE}) {
        SizeRange none;
        Layout::add_design_size(none, 0);
        Layout::add_child(none, rule(mode, 3, 4), {50, 10});
        EXPECT_EQ(none, (SizeRange{0, 0})) << static_cast<int>(mode);
    }
}
