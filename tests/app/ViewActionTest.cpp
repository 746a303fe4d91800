#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "app/ViewAction.h"

namespace {

std::optional<ViewAction> parse(std::u16string_view line) { return ViewAction::parse(line); }

TEST(ViewAction, TheHandsetsOpenCommandNamesANumberOrASenderAsWritten) {
    EXPECT_EQ(parse(u"open:+79001234567")->number, u"+79001234567");
    EXPECT_EQ(parse(u"open:  +7 (900) 123-45-67 ")->number, u"+7 (900) 123-45-67");
    EXPECT_EQ(parse(u"open:BANK")->number, u"BANK");
    for (std::u16string_view none :
         {u"", u"message", u"open:", u"open:   ", u"Open:123", u"xopen:1"})
        EXPECT_FALSE(parse(none)) << std::string(none.begin(), none.end());
    // Control characters never reach a title or the log; an endless name is
    // refused.
    EXPECT_EQ(parse(u"open:12\x1b[2J3\r\n4")->number, u"12[2J3 4");
    EXPECT_FALSE(parse(u"open:" + std::u16string(5000, u'7')));
}

TEST(ViewAction, AnSmsUriGivesItsFirstRecipientAndItsBody) {
    std::optional<ViewAction> a = parse(u"sms:+123?body=hi");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->number, u"+123");
    EXPECT_EQ(a->body, u"hi");

    a = parse(
        u"SMS://"
        u"+7%20900%20111-22-33;phone-context=x,+44?subject=x&BODY=Hello%20%D0%BC%D0%B8%D1%80%0D%0A%"
        u"3A)");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->number, u"+7 900 111-22-33");
    EXPECT_EQ(a->body, u"Hello мир\n:)");

    a = parse(u"sms:12345");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->body, u"");
}

TEST(ViewAction, HostileSmsUrisGiveNoNumberOrACleanBoundedBody) {
    // Not a number: letters, a shell's favourite characters, a "+" inside,
    // an escaped line break, nothing at all.
    for (std::u16string_view bad :
         {u"sms:", u"sms:?body=hi", u"sms:abc", u"sms:123 rm -rf /", u"sms:1$(reboot)",
          u"sms:12+34", u"sms:12%0A34", u"sms:%%%", u"sms:+"})
        EXPECT_FALSE(parse(bad)) << std::string(bad.begin(), bad.end());

    // What follows ";" is a parameter of the number, never part of it.
    EXPECT_EQ(parse(u"sms:123;rm -rf /")->number, u"123");

    // Broken escapes stand for themselves; bytes that are no UTF-8 become
    // U+FFFD; controls other than line breaks go.
    std::optional<ViewAction> a = parse(u"sms:1?body=100%25%2%zz%FF%00%07%09end");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->body, u"100%%2%zz\uFFFD end");

    // A huge body is cut, never inside a surrogate pair.
    std::u16string huge = u"sms:1?body=";
    for (size_t i = 0; i < ViewAction::kMaxBody; ++i) huge += u"%F0%9F%98%80";
    a = parse(huge);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->body.size(), ViewAction::kMaxBody);
    EXPECT_EQ(a->body.back(), u'\xDE00');
}

}  // namespace
