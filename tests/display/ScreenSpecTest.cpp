#include <gtest/gtest.h>

#include <cstdlib>

#include "display/ScreenSpec.h"
#include "support/Contains.h"

namespace {

TEST(ScreenSpecTest, GoodValuesGiveTheWholeScreenAsClientArea) {
    std::string error;
    std::optional<ScreenSpec> parsed = ScreenSpec::parse("480x800@192", error);
    ASSERT_TRUE(parsed) << error;
    EXPECT_EQ(parsed->screen(), (ScreenInfo{480, 800, {0, 0}, {480, 800}, 4, 192}));
    for (const char* text : {"16x16@48", "8192x2048@1200", "0240x0320@096"})
        EXPECT_TRUE(ScreenSpec::parse(text, error)) << text << ": " << error;
}

TEST(ScreenSpecTest, UnsetOrEmptyVariableGivesTheDefaultScreen) {
    std::string error;
    for (const char* value : {static_cast<const char*>(nullptr), ""}) {
        if (value == nullptr)
            unsetenv("QUILLMO_SCREEN");
        else
            setenv("QUILLMO_SCREEN", value, 1);
        std::optional<ScreenSpec> parsed = ScreenSpec::from_environment(error);
        ASSERT_TRUE(parsed) << error;
        EXPECT_EQ(parsed->size(), (Size{480, 800}));
        EXPECT_EQ(parsed->dpi(), 192);
    }
    setenv("QUILLMO_SCREEN", "320x240@96", 1);
    EXPECT_EQ(ScreenSpec::from_environment(error)->size(), (Size{320, 240}));
    setenv("QUILLMO_SCREEN", "320x240", 1);
    EXPECT_FALSE(ScreenSpec::from_environment(error));
    unsetenv("QUILLMO_SCREEN");
}

TEST(ScreenSpecTest, BadValuesAreRefusedWithOneCleanLineThatSaysWhy) {
    const std::pair<const char*, const char*> cases[] = {
        {"", "not a screen"},
        {"480x800", "not a screen"},
        {"x800@192", "not a screen"},
        {"480X800@192", "not a screen"},
        {" 480x800@192", "not a screen"},
        {"480x800@192 ", "not a screen"},
        {"+480x800@192", "not a screen"},
        {"480x-800@192", "not a screen"},
        {"480.5x800@192", "not a screen"},
        {"480x800@192@192", "not a screen"},
        {"480x800@192\x1b]0;title\x07\n", "not a screen"},
        {"15x800@192", "width 15 is outside 16..8192"},
        {"8193x800@192", "width 8193 is outside"},
        {"480x0@192", "height 0 is outside"},
        {"480x800@47", "dpi 47 is outside 48..1200"},
        {"480x800@1201", "dpi 1201 is outside"},
        {"99999999999999999999999x800@192", "width"},
        // Each side in range, but more pixels than a frame buffer holds.
        {"8192x8192@192", "more than 16777216 pixels"},
    };
    for (auto [text, why] : cases) {
        std::string error;
        EXPECT_FALSE(ScreenSpec::parse(text, error)) << text;
        EXPECT_TRUE(contains(error, "QUILLMO_SCREEN=\""));
        EXPECT_TRUE(contains(error, why));
        EXPECT_TRUE(contains(error, "(expected WIDTHxHEIGHT@DPI, e.g. 480x800@192)"));
        EXPECT_EQ(error.find_first_of("\n\x1b\x07"), std::string::npos) << error;
    }
}

}  // namespace
