#include <gtest/gtest.h>

#include "draw/text/FontSizes.h"

TEST(FontSizes, SmallSizesComeFromTheTableLargerOnesFrom96DpiAndAllStayInRange) {
    // The table's ends (4 gives 6, 19 gives 25) are not 4/3 of the size.
    EXPECT_EQ(FontSizes::pixel_height(4, 1), 6);
    EXPECT_EQ(FontSizes::pixel_height(19, 1), 25);
    EXPECT_EQ(FontSizes::pixel_height(20, 1), 26);
    EXPECT_EQ(FontSizes::pixel_height(12, 2), 32);
    EXPECT_EQ(FontSizes::pixel_height(-5, 1), 0);
    EXPECT_EQ(FontSizes::pixel_height(12, -2), 0);
    EXPECT_EQ(FontSizes::pixel_height(2'000'000'000, 4), FontSizes::kMaxPixelHeight);
}
