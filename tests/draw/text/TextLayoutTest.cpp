#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "draw/RenderSurface.h"
#include "draw/TestFonts.h"
#include "draw/text/TextDraw.h"
#include "draw/text/TextLayout.h"

namespace {

using Lines = std::vector<TextLine>;
using Extents = std::vector<int32_t>;

// Wraps a text whose characters are all 10 pixels wide.
Lines wrap_even(std::u16string_view text, int32_t width, int32_t indent = 0) {
    Extents extents(text.size());
    for (size_t i = 0; i < text.size(); ++i) extents[i] = static_cast<int32_t>(i + 1) * 10;
    return TextLayout::wrap(text, width, extents, indent);
}

}  // namespace

TEST(TextLayoutWrap,
     BreaksAtBreakCharactersLineFeedsAndInsideOverlongWordsIndentingOnlyTheFirstLine) {
    EXPECT_EQ(wrap_even(u"aaa bbb", 30), (Lines{{0, 3}, {4, 3}}));
    EXPECT_EQ(wrap_even(u"aaa bbb", 70), (Lines{{0, 7}}));
    EXPECT_EQ(wrap_even(u"aa bb cc dd", 55), (Lines{{0, 5}, {6, 5}}));
    // Tabs and zero-width spaces are break characters too.
    EXPECT_EQ(wrap_even(u"aaa\tbbb\u200Bccc", 30), (Lines{{0, 3}, {4, 3}, {8, 3}}));
    // A line feed always ends a line; a text ending in one has an empty last line.
    EXPECT_EQ(wrap_even(u"ab\ncd", 100), (Lines{{0, 2}, {3, 2}}));
    EXPECT_EQ(wrap_even(u"\n\n", 100), (Lines{{0, 0}, {1, 0}, {2, 0}}));
    EXPECT_EQ(wrap_even(u"", 100), (Lines{{0, 0}}));
    EXPECT_EQ(wrap_even(u"abcdefgh", 30), (Lines{{0, 3}, {3, 3}, {6, 2}}));
    EXPECT_EQ(wrap_even(u"ab cdefgh", 35), (Lines{{0, 3}, {3, 3}, {6, 3}}));
    // A character wider than the line stays on a line of its own, and so does
    // a surrogate pair (both units share one extent).
    EXPECT_EQ(TextLayout::wrap(u"aWb", 30, Extents{10, 60, 70}, 0),
              (Lines{{0, 1}, {1, 1}, {2, 1}}));
    EXPECT_EQ(TextLayout::wrap(u"a\U0001F600b", 30, Extents{10, 50, 50, 60}, 0),
              (Lines{{0, 1}, {1, 2}, {3, 1}}));
    // The indent narrows only the first line.
    EXPECT_EQ(wrap_even(u"aa bb cc", 50, 20), (Lines{{0, 2}, {3, 5}}));
    // A first word that does not fit after the indent leaves the first line empty.
    EXPECT_EQ(wrap_even(u"aaaa bb", 50, 20), (Lines{{0, 0}, {0, 4}, {5, 2}}));
    // After a line feed the indent is gone: no empty line before a wide character.
    EXPECT_EQ(TextLayout::wrap(u"a\nW", 30, Extents{10, 10, 80}, 5), (Lines{{0, 1}, {2, 1}}));
}

TEST(TextLayoutWrap, EmojiSequencesAndMarksStayWithTheirLine) {
    auto font = dejavu(10);
    const std::u16string family = u"\U0001F468\u200D\U0001F469\u200D\U0001F467";
    const std::u16string text = family + u"\U0001F44D\U0001F3FD\U0001F1E9\U0001F1EA1\uFE0F\u20E3";
    Extents extents;
    TextDraw::measure(*font, text, -1, &extents);
    int32_t thumbs = TextDraw::measure(*font, u"\U0001F44D").width;
    // Sequences run together as one word: one to a line, in a line one and a
    // half emoji wide or in one too narrow for any.
    for (int32_t width : {thumbs * 3 / 2, 5})
        EXPECT_EQ(TextLayout::wrap(text, width, extents, 0),
                  (Lines{{0, 8}, {8, 4}, {12, 4}, {16, 3}}))
            << width;
    // A selector or combining mark that adds no width stays with its
    // character, even one alone on its line.
    EXPECT_EQ(TextLayout::wrap(u"a\u2764\uFE0Fb", 30, Extents{10, 50, 50, 60}, 0),
              (Lines{{0, 1}, {1, 2}, {3, 1}}));
    EXPECT_EQ(TextLayout::wrap(u"aW\u0301b", 30, Extents{10, 50, 50, 60}, 0),
              (Lines{{0, 1}, {1, 2}, {3, 1}}));
}

TEST(TextLayoutWrap, ShortExtentsAndHugeTextsAreSafe) {
    EXPECT_EQ(TextLayout::wrap(u"aaa bbb", 30, Extents{10}, 0), (Lines{{0, 7}}));
    EXPECT_EQ(TextLayout::wrap(u"aaa bbb", 30, {}, 0), (Lines{{0, 7}}));

    std::u16string words;
    while (words.size() < 100'000) words += u"word ";
    Lines word_lines = wrap_even(words, 300);
    Lines solid_lines = wrap_even(std::u16string(100'000, u'x'), 300);
    // Six five-letter words, or thirty letters, to a line of 300 pixels.
    EXPECT_EQ(word_lines.size(), 3334u);
    EXPECT_EQ(word_lines[1], (TextLine{30, 29}));
    EXPECT_EQ(solid_lines.size(), 3334u);
    EXPECT_EQ(solid_lines.back(), (TextLine{99'990, 10}));
}

TEST(TextLayoutElement, WrappedTextThatOverflowsEndsInAnEllipsisAfterTheLastLineShown) {
    // Three lines in a box two lines high: the first line, then the second
    // shortened so that the ellipsis follows its text (b is 9 pixels wide,
    // the ellipsis 14), exactly as drawing them one by one gives.
    auto font = dejavu(10);
    int32_t h = font->height();
    int32_t w = TextDraw::measure(*font, u"bbbb").width;
    ASSERT_LT(w, TextDraw::measure(*font, u"bbb\u2026").width);
    ASSERT_GE(w, TextDraw::measure(*font, u"bb\u2026").width);
    TextLayout layout;
    layout.set_font(font);
    layout.set_text(u"aaaa bbbb cccc");
    layout.set_wrap(true);
    layout.set_ellipsis(true);
    const Color white{255, 255, 255, 255}, black{0, 0, 0, 255};
    auto expect_drawn = [&](Size box, auto draw_expected) {
        RenderSurface drawn(Size{60, 50}), expected(Size{60, 50});
        drawn.fill({0, 0}, {60, 50}, white);
        expected.fill({0, 0}, {60, 50}, white);
        layout.draw(drawn, {2, 3}, box);
        draw_expected(expected);
        for (int y = 0; y < 50; ++y)
            for (int x = 0; x < 60; ++x)
                ASSERT_EQ(drawn.buffer()->pixel(x, y), expected.buffer()->pixel(x, y))
                    << box.width << "x" << box.height << " at " << x << "," << y;
    };
    expect_drawn({w, 2 * h}, [&](RenderSurface& expected) {
        TextDraw::draw(*font, expected, black, u"aaaa", {2, 3}, {w, h}, 0, 0, true);
        TextDraw::draw(*font, expected, black, u"bb\u2026", {2, 3 + h}, {w, h}, 0, 0, true);
    });
    EXPECT_EQ(layout.lines(), (Lines{{0, 4}, {5, 4}, {10, 4}}));
    // Right-aligned, the shortened line ends at the right edge.
    layout.set_alignment(TextDraw::kRight, TextDraw::kTop);
    expect_drawn({w + 2, 2 * h + 3}, [&](RenderSurface& expected) {
        TextDraw::draw(*font, expected, black, u"aaaa", {2, 3}, {w + 2, h}, 2, 0, true);
        TextDraw::draw(*font, expected, black, u"bb\u2026", {2, 3 + h}, {w + 2, h}, 2, 0, true);
    });
    // A box lower than one line shows the ellipsis alone, at its bottom.
    layout.set_alignment(TextDraw::kLeft, TextDraw::kTop);
    expect_drawn({w, h - 2}, [&](RenderSurface& expected) {
        TextDraw::draw(*font, expected, black, u"\u2026", {2, 3}, {w, h - 2}, 0, 2, false);
    });
}

TEST(TextLayoutElement, LayoutIsRedoneForANewWidthOrText) {
    auto font = dejavu(10);
    TextLayout layout;
    layout.set_font(font);
    layout.set_text(u"one two three");
    layout.set_wrap(true);
    EXPECT_EQ(layout.measured(), (Size{-1, -1}));
    layout.layout(1000);
    EXPECT_EQ(layout.lines(), (Lines{{0, 13}}));
    EXPECT_EQ(layout.measured().width, TextDraw::measure(*font, u"one two three").width);
    int32_t two_words = TextDraw::measure(*font, u"one two").width;
    layout.layout(two_words);
    EXPECT_EQ(layout.lines(), (Lines{{0, 7}, {8, 5}}));
    layout.set_text(u"one");
    EXPECT_TRUE(layout.lines().empty());
    layout.layout(two_words);
    EXPECT_EQ(layout.lines(), (Lines{{0, 3}}));
}
