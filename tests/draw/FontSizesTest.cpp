#include <gtest/gtest.h>

#include "draw/FontSizes.h"

TEST(FontSizes, SmallSizesComeFromTheTableAndLargerOnesFrom96Dpi) {
    EXPECT_EQ(FontSizes::pixel_height(4, 1), 6);
    EXPECT_EQ(FontSizes::pixel_height(16, 1), 21);
    EXPECT_EQ(FontSizes::pixel_height(19, 1), 25);
    EXPECT_EQ(FontSizes::pixel_height(9, 1), 12);
    EXPECT_EQ(FontSizes::pixel_height(20, 1), 26);
    EXPECT_EQ(FontSizes::pixel_height(12, 2), 32);
    EXPECT_EQ(FontSizes::pixel_height(0, 1), 0);
}

TEST(FontSizes, NegativeAndHugeSizesStayInRange) {
    EXPECT_EQ(FontSizes::pixel_height(-5, 1), 0);
    EXPECT_EQ(FontSizes::pixel_height(12, -2), 0);
    EXPECT_EQ(FontSizes::pixel_height(2'000'000'000, 4), FontSizes::kMaxPixelHeight);
}
