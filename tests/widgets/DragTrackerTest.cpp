// Telling a tap from a drag, and the velocity a drag leaves behind.
#include <gtest/gtest.h>

#include "widgets/list/DragTracker.h"

namespace {

TEST(DragTracker, ADragStartsTenPixelsAwayAndMeasuresOnlyItsLastQuarterSecond) {
    DragTracker tracker;
    tracker.down({50, 100});
    tracker.advance(0.02);
    tracker.move({59, 91});
    EXPECT_FALSE(tracker.active()) << "9 pixels in both axes is still a tap";
    tracker.advance(0.02);
    tracker.move({50, 90});
    EXPECT_TRUE(tracker.active());

    // The press itself ages out; then 100 pixels up in 100 ms: -1000 px/s on
    // the screen, +1000 as (old - new).
    tracker.advance(0.3);
    for (int i = 1; i <= 10; ++i) {
        tracker.advance(0.01);
        tracker.move({50, 90 - 10 * i});
    }
    EXPECT_NEAR(tracker.velocity().y, 1000, 1);
    EXPECT_EQ(tracker.velocity().x, 0);

    // Held still for longer than the history: nothing is thrown.
    tracker.advance(0.3);
    EXPECT_EQ(tracker.velocity().y, 0);
}

TEST(DragTracker, AHistoryShorterThanFiftyMillisecondsGivesNoVelocity) {
    DragTracker tracker;
    tracker.down({0, 0});
    tracker.move({0, 40});
    tracker.advance(0.03);
    tracker.move({0, 80});
    EXPECT_EQ(tracker.velocity().y, 0);
    tracker.advance(0.03);
    tracker.move({0, 120});
    EXPECT_NE(tracker.velocity().y, 0);
}

}  // namespace
