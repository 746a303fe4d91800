// The part counter under the chat form's edit field: 160 septets or 70 UTF-16
// code units fit one message, 153 or 67 each part of a longer one, and the
// GSM extension characters take two septets.
#include <gtest/gtest.h>

#include <string>

#include "messaging/SmsParts.h"

namespace {

std::u16string times(size_t n, std::u16string_view piece) {
    std::u16string out;
    for (size_t i = 0; i < n; ++i) out += piece;
    return out;
}

SmsParts parts(int32_t count, int32_t left, bool seven_bit) { return {count, left, seven_bit}; }

}  // namespace

TEST(SmsParts, SevenBitTextsCountSeptetsAgainst160And153) {
    EXPECT_EQ(SmsParts::count(u""), parts(1, 160, true));
    EXPECT_EQ(SmsParts::count(times(160, u"a")), parts(1, 0, true));
    EXPECT_EQ(SmsParts::count(times(161, u"a")), parts(2, 145, true));
    EXPECT_EQ(SmsParts::count(times(306, u"a")), parts(2, 0, true));
    EXPECT_EQ(SmsParts::count(times(307, u"a")), parts(3, 152, true));
    // Accented letters and Greek capitals of the default alphabet stay 7-bit.
    EXPECT_EQ(SmsParts::count(u"Ça va? ¿Qué? ΔΩ £5 @home"), parts(1, 136, true));
}

TEST(SmsParts, ExtensionCharactersTakeTwoSeptets) {
    EXPECT_EQ(SmsParts::count(u"€"), parts(1, 158, true));
    EXPECT_EQ(SmsParts::count(u"{[~^|\\]}\f"), parts(1, 142, true));
    // 159 plain characters and a euro sign are 161 septets: two parts.
    EXPECT_EQ(SmsParts::count(times(159, u"a") + u"€"), parts(2, 145, true));
    EXPECT_EQ(SmsParts::count(times(80, u"[")), parts(1, 0, true));
    EXPECT_EQ(SmsParts::count(times(81, u"[")), parts(2, 144, true));
}

TEST(SmsParts, AnyOtherCharacterMakesTheTextUtf16) {
    EXPECT_EQ(SmsParts::count(times(70, u"я")), parts(1, 0, false));
    EXPECT_EQ(SmsParts::count(times(71, u"я")), parts(2, 63, false));
    EXPECT_EQ(SmsParts::count(times(69, u"a") + u"я"), parts(1, 0, false));
    // The grave accent is not in the alphabet; extension characters count
    // once in a UTF-16 text.
    EXPECT_EQ(SmsParts::count(u"`"), parts(1, 69, false));
    EXPECT_EQ(SmsParts::count(u"€я"), parts(1, 68, false));
    // A character beyond the basic plane is two code units.
    EXPECT_EQ(SmsParts::count(u"😀"), parts(1, 68, false));
}

TEST(SmsParts, TextShowsPartsWordAndWhatIsLeft) {
    EXPECT_EQ(SmsParts::count(u"").text(u"SMS"), u"1 SMS (160)");
    EXPECT_EQ(SmsParts::count(times(71, u"я")).text(u"СМС"), u"2 СМС (63)");
}
