#include <gtest/gtest.h>

#include "skin/layout/LayoutState.h"

TEST(LayoutState, XStaysDirtyUntilYIsSetEvenWithUnchangedValues) {
    LayoutState state;
    EXPECT_TRUE(state.dirty());
    EXPECT_TRUE(state.set_x_extent(0, 240));
    EXPECT_TRUE(state.set_y_extent(0, 320));
    EXPECT_FALSE(state.dirty());
    // Unchanged on a clean state: nothing to do.
    EXPECT_FALSE(state.set_x_extent(0, 240));
    EXPECT_FALSE(state.set_y_extent(0, 320));

    EXPECT_TRUE(state.set_x_extent(0, 200));
    EXPECT_TRUE(state.dirty());
    EXPECT_TRUE(state.set_y_extent(0, 320));
    EXPECT_FALSE(state.dirty());
    EXPECT_EQ(state.x(), (AxisSpan{0, 200}));
}

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
