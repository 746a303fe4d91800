#include <gtest/gtest.h>

#include "skin/layout/LayoutState.h"

TEST(LayoutState, RangesAreMeasuredOnceUntilInvalidated) {
    LayoutState state;
    int calls = 0;
    auto measure = [&](SizeRange& r) {
        ++calls;
        EXPECT_EQ(r, (SizeRange{0, 0}));
        r = {50, 10};
    };
    EXPECT_EQ(state.range_x(measure), (SizeRange{50, 10}));
    EXPECT_EQ(state.range_y(measure), (SizeRange{50, 10}));
    state.range_x(measure);
    EXPECT_EQ(calls, 2);

    // A new width drops only the height's range.
    state.set_x_extent(0, 10);
    state.range_x(measure);
    state.range_y(measure);
    EXPECT_EQ(calls, 3);

    state.set_y_extent(0, 10);
    state.invalidate();
    EXPECT_TRUE(state.dirty());
    state.range_x(measure);
    state.range_y(measure);
    EXPECT_EQ(calls, 5);
}
