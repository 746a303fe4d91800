#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "draw/text/EmojiSequence.h"

namespace {

// Thumbs up with a skin tone; man, woman and girl joined; Germany's flag; the
// keycap 1; England's flag of tags; a couple with a heart.
const std::u16string kTone = u"\U0001F44D\U0001F3FD";
const std::u16string kFamily = u"\U0001F468\u200D\U0001F469\u200D\U0001F467";
const std::u16string kFlag = u"\U0001F1E9\U0001F1EA";
const std::u16string kKeycap = u"1\uFE0F\u20E3";
const std::u16string kTagFlag =
    u"\U0001F3F4\U000E0067\U000E0062\U000E0065\U000E006E\U000E0067"
    u"\U000E007F";
const std::u16string kCouple = u"\U0001F469\u200D\u2764\uFE0F\u200D\U0001F468";

size_t length(std::u16string_view text, size_t start = 0) {
    return EmojiSequence::length_at(text, start);
}

}  // namespace

TEST(EmojiSequence, FindsEachKindWholeAndOnlyWhatBelongsToIt) {
    for (const std::u16string& sequence : {kTone, kFamily, kFlag, kKeycap, kTagFlag, kCouple}) {
        EXPECT_EQ(length(sequence), sequence.size());
        // Followed by text, a space or another emoji, it ends where it ends.
        EXPECT_EQ(length(sequence + u"ok"), sequence.size());
        EXPECT_EQ(length(sequence + u"\U0001F44D"), sequence.size());
    }
    EXPECT_EQ(length(u"1\u20E3"), 2u);
    EXPECT_EQ(length(u"\u261D\U0001F3FB"), 3u);
    // Indicators pair from the first; the odd one out is no sequence.
    const std::u16string three = kFlag + u"\U0001F1EB";
    EXPECT_EQ(length(three), 4u);
    EXPECT_EQ(length(three, 4), 0u);
    // A joiner joins only when an emoji follows it; a dangling joiner, or one
    // before a letter, is left out.
    EXPECT_EQ(length(kTone + u"\u200D"), kTone.size());
    EXPECT_EQ(length(kTone + u"\u200Da"), kTone.size());
    EXPECT_EQ(length(u"\U0001F44D\u200D"), 0u);
    EXPECT_EQ(length(u"\U0001F44D\u200D\u0915"), 0u);
}

TEST(EmojiSequence, PlainTextLoneEmojiAndStrayMarksAreNoSequence) {
    for (std::u16string_view text :
         {u"hello", u"\U0001F44D", u"\u2764\uFE0F", u"\u200D\U0001F44D", u"\uFE0F\u20E3",
          u"\U000E0067\U000E007F", u"\u0915\u094D\u200D\u0937", u""})
        EXPECT_EQ(length(text), 0u) << std::u16string(text).size();
    EXPECT_FALSE(EmojiSequence::may_continue(u'a'));
    EXPECT_FALSE(EmojiSequence::may_continue(u'\u0436'));
    EXPECT_EQ(length(u"ab", 7), 0u);
}

TEST(EmojiSequence, BrokenSurrogatesAndCutTextsAreNeverReadPast) {
    // Every start of every prefix of a messy text, each copied to a buffer of
    // its exact size so that a read past the end is caught.
    const std::u16string messy = kFamily + u"\xD83C" + kTone + u"\u200D\xD83D" +
                                 kFlag.substr(0, 3) + u"\uFE0F\u20E3" + kTagFlag.substr(0, 5) +
                                 u"\xDC00\u200D";
    for (size_t size = 0; size <= messy.size(); ++size) {
        auto buffer = std::make_unique<char16_t[]>(size);
        std::copy_n(messy.begin(), size, buffer.get());
        std::u16string_view text(buffer.get(), size);
        for (size_t start = 0; start < size; ++start) EXPECT_LE(start + length(text, start), size);
    }
    // A joiner before an unpaired surrogate joins nothing.
    EXPECT_EQ(length(u"\U0001F44D\u200D\xD83D"), 0u);
    EXPECT_EQ(length(kTone + u"\u200D\xD83D"), kTone.size());
}

TEST(EmojiSequence, EndlessJoinersAndTagsStopAtTheLongestSequence) {
    std::u16string joined = u"\U0001F600";
    std::u16string tagged = u"\U0001F3F4";
    for (int i = 0; i < 10'000; ++i) {
        joined += u"\u200D\U0001F600";
        tagged += u"\U000E0067";
    }
    EXPECT_LE(length(joined), EmojiSequence::kMaxUnits);
    EXPECT_GT(length(joined), 40u);
    EXPECT_LE(length(tagged), EmojiSequence::kMaxUnits);
    EXPECT_GT(length(tagged), 40u);
}
