#include <gtest/gtest.h>

#include "platform/contacts/PhoneNumberMatch.h"

namespace {

TEST(PhoneNumberMatch, SameNumberInCountryTrunkAndLocalSpellings) {
    struct Case {
        const char16_t* a;
        const char16_t* b;
    } same[] = {
        {u"+7 912 345-67-89", u"89123456789"},   {u"+7 (912) 345-67-89", u"+79123456789"},
        {u"+44 20 7946 0958", u"020 7946 0958"}, {u"0044 20 7946 0958", u"020 7946 0958"},
        {u"+49 30 1234567", u"030 1234567"},     {u"+1 408 555 0101", u"408-555-0101"},
        {u"345-67-89", u"+7 912 345-67-89"},     {u"900", u"900"},
    };
    for (const Case& c : same) {
        EXPECT_GT(phone_number_match(c.a, c.b), 0) << std::u16string_view(c.a).size();
        EXPECT_EQ(phone_number_match(c.a, c.b), phone_number_match(c.b, c.a));
    }
}

TEST(PhoneNumberMatch, DifferentNumbersThatLookAlikeDoNotMatchAndCloserSpellingsScoreHigher) {
    EXPECT_EQ(phone_number_match(u"123", u"0123"), 0);
    EXPECT_EQ(phone_number_match(u"BANK", u"BANK"), 0);
    EXPECT_EQ(phone_number_match(u"", u""), 0);
    EXPECT_EQ(phone_number_match(u"+33 1 23 45 67 89", u"+33 6 23 45 67 89"), 0);
    EXPECT_EQ(phone_number_match(u"+7 912 345-67-89", u"+7 913 345-67-89"), 0);
    EXPECT_EQ(phone_number_match(u"+7 912 345-67-89", u"+7 912 345-67-80"), 0);
    // A closer spelling scores higher.
    EXPECT_GT(phone_number_match(u"+79123456789", u"8 912 345 67 89"),
              phone_number_match(u"+79123456789", u"345 67 89"));
}

}  // namespace
