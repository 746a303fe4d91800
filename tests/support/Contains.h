#pragma once
// A check that a text holds a part, whose message shows the whole text.
#include <gtest/gtest.h>

#include <string_view>

// Succeeds when text holds part. Either way the message quotes the part and
// the text, so that EXPECT_TRUE and EXPECT_FALSE alike say what was there.
inline ::testing::AssertionResult contains(std::string_view text, std::string_view part) {
    ::testing::AssertionResult result = text.find(part) != std::string_view::npos
                                            ? ::testing::AssertionSuccess()
                                            : ::testing::AssertionFailure();
    return result << (result ? "holds" : "lacks") << " \"" << part << "\":\n" << text;
}
