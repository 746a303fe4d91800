#include <gtest/gtest.h>

#include "platform/TerminalText.h"
#include "support/Contains.h"

namespace {

using terminal_text::LineBreaks;

TEST(TerminalText, ReplacesEveryControlCharacterThatATerminalWouldObey) {
    // A title change (OSC 0), a clipboard write (OSC 52), a screen clear, an
    // 8-bit CSI, DEL and a bell.
    std::u16string hostile = u"\x1b]0;owned\x07|\x1b]52;c;aGk=\x1b\\|\x1b[2J|\u009b31m|\x7f|\a";
    std::string shown = terminal_text::clean(hostile);
    for (unsigned char c : shown) EXPECT_TRUE(c >= 0x20 && c != 0x7F) << int(c);
    EXPECT_FALSE(contains(shown, "\xC2\x9B"));
    EXPECT_EQ(shown, " ]0;owned | ]52;c;aGk= \\| [2J| 31m| | ");
}

TEST(TerminalText, KeepsPrintableTextAndShowsLineBreaksAsAskedFor) {
    EXPECT_EQ(terminal_text::clean(u"Привет 👍 café"), "Привет 👍 café");
    EXPECT_EQ(terminal_text::clean(u"a\r\nb"), "a ⏎b");
    EXPECT_EQ(terminal_text::clean(u"a\nb\tc", LineBreaks::Keep), "a\nb c");
    EXPECT_EQ(terminal_text::clean(std::u16string(1, char16_t(0xD800)) + u"x"), "\xEF\xBF\xBDx");
    EXPECT_EQ(terminal_text::clean_utf8("\x1b[1mbold\xff"), " [1mbold\xEF\xBF\xBD");
}

}  // namespace
