#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <random>
#include <vector>

#include "skin/layout/TableLayout.h"

namespace {

using Item = TableLayout::Item;
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

Item item(int32_t preferred, int32_t minimum, int32_t ratio = 0,
          AxisRule rule = {LayoutMode::BOTH_SIDE, 0, 0}) {
    return {rule, {preferred, minimum}, ratio};
}

using Spans = std::vector<AxisSpan>;

}  // namespace

TEST(TableLayoutArrange, SharesEvenlyUpToThePreferredShrinksByTheMinimumsAndGivesTheRestByRatio) {
    const AxisRule padded{LayoutMode::BOTH_SIDE, 5, 5}, right{LayoutMode::MAX_SIDE, 0, 2},
        wide{LayoutMode::BOTH_SIDE, 30, 20}, negative{LayoutMode::BOTH_SIDE, -kMax, -kMax};
    struct Case {
        int32_t position, extent;
        std::vector<Item> items;
        Spans expected;
    };
    const Case cases[] = {
        // First pass 25 each, B capped at 40 with 15 over, second pass gives A 15.
        {0, 100, {item(60, 20), item(40, 30)}, {{0, 60}, {60, 40}}},
        // Between the minimums and the preferred sum: 20 shared as 10 and 10.
        {5, 70, {item(60, 20), item(40, 30)}, {{5, 30}, {35, 40}}},
        // Uneven split: the remainders go to the later children.
        {0, 5, {item(9, 0), item(9, 0), item(9, 0)}, {{0, 1}, {1, 2}, {3, 2}}},
        // Below the minimums, in proportion to them.
        {0, 50, {item(60, 20), item(40, 30)}, {{0, 20}, {20, 30}}},
        {0, 40, {item(60, 20), item(40, 30)}, {{0, 16}, {16, 24}}},
        // Beyond the preferred extents by ratio; without ratios the rest stays
        // unused, and negative ratios count as none.
        {0, 120, {item(60, 20, 2), item(40, 30, 1)}, {{0, 73}, {73, 47}}},
        {0, 120, {item(60, 20), item(40, 30)}, {{0, 60}, {60, 40}}},
        {0, 120, {item(60, 20, -5), item(40, 30, 1)}, {{0, 60}, {60, 60}}},
        // Borders take room; children are anchored in their slots.
        {10, 80, {item(30, 30, 0, padded), item(20, 10, 0, right)}, {{15, 30}, {50, 20}}},
        {7, 100, {item(10, 5, 0, wide), item(10, 5, 1, wide)}, {{7, 0}, {7, 0}}},
        {7, 0, {item(10, 5)}, {{7, 0}}},
        {7, -20, {item(10, 5)}, {{7, 0}}},
        // Nothing to share, no division by zero; negative ranges count as 0.
        {0, 100, {}, {}},
        {0, 10, {item(0, 0), item(0, 0)}, {{0, 0}, {0, 0}}},
        {0, 10, {item(3, 1, 0), item(3, 1, 0)}, {{0, 3}, {3, 3}}},
        {0, 10, {item(-4, -9), item(10, 0)}, {{0, 0}, {0, 10}}},
        // A minimum above the preferred extent is kept, and the others still
        // get the whole remaining space.
        {0, 100, {item(10, 50), item(60, 20)}, {{0, 50}, {50, 50}}},
        {0, 200, {item(10, 50, 1), item(60, 20, 1)}, {{0, 95}, {95, 105}}},
        // Huge values saturate; the running position stops at the largest
        // coordinate.
        {0,
         kMax,
         {item(kMax, kMax, kMax), item(kMax, kMax, kMax)},
         {{0, kMax / 2}, {kMax / 2, kMax - kMax / 2}}},
        {kMax - 10, 100, {item(60, 0), item(60, 0)}, {{kMax - 10, 50}, {kMax, 50}}},
    };
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(TableLayout::arrange(cases[i].position, cases[i].extent, cases[i].items),
                  cases[i].expected)
            << "case " << i;
    const std::vector<Item> pulled_back = {item(1, 0, 1, negative), item(1, 0, 1)};
    EXPECT_EQ(TableLayout::arrange(kMax - 1, kMax, pulled_back)[0].extent, kMax);
}

TEST(TableLayoutMeasure, SumsContributionsAndWhatChildrenCanGiveUpButNoSizeChildren) {
    struct Case {
        int32_t design;
        std::vector<Item> items;
        SizeRange expected;
    };
    const Case cases[] = {
        {0, {item(60, 20), item(40, 30)}, {100, 50}},
        {200, {item(60, 20, 0, {LayoutMode::MIN_SIDE, 3, 2})}, {200, 25}},
        {0, {item(50, 50, 0, {LayoutMode::MIN_SIDE_NO_SIZE})}, {0, 0}},
        {30, {}, {30, 0}},
        {0, {item(kMax, 0), item(kMax, 0)}, {kMax, 0}},
    };
    for (const Case& c : cases) {
        SizeRange range;
        TableLayout::measure(range, c.design, c.items);
        EXPECT_EQ(range, c.expected) << c.design;
    }
}

TEST(TableLayoutArrange, AnyTableFillsItsSpaceWithoutGapsOrNegativeExtents) {
    // Fixed seed: a failure names the table that broke.
    std::mt19937 random(1234);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    for (int round = 0; round < 2000; ++round) {
        std::vector<Item> items(static_cast<size_t>(pick(1, 6)));
        int64_t sum_min = 0, sum_pref = 0;
        bool ratios = false;
        for (Item& it : items) {
            it = item(pick(0, 80), pick(0, 80), pick(-1, 3));
            sum_min += it.range.minimum;
            sum_pref += std::max(it.range.preferred, it.range.minimum);
            ratios = ratios || it.ratio > 0;
        }
        const int32_t extent = pick(0, 400);
        const Spans spans = TableLayout::arrange(3, extent, items);
        ASSERT_EQ(spans.size(), items.size());
        int64_t end = 3;
        for (size_t i = 0; i < spans.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "round " << round << " child " << i);
            ASSERT_GE(spans[i].extent, 0);
            ASSERT_EQ(spans[i].position, end);
            if (extent >= sum_min) {
                ASSERT_GE(spans[i].extent, items[i].range.minimum);
            }
            end += spans[i].extent;
        }
        const int64_t expected =
            (ratios || extent <= sum_min) ? extent : std::min<int64_t>(extent, sum_pref);
        ASSERT_EQ(end - 3, expected) << "round " << round;
    }
}
