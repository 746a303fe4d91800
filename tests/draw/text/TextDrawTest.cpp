#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "draw/ClipScope.h"
#include "draw/RenderSurface.h"
#include "draw/TestFonts.h"
#include "draw/text/TextDraw.h"
#include "draw/text/TextLayout.h"
#include "support/Golden.h"

namespace {

const Color kBlack{0, 0, 0, 255};
const Color kWhite{255, 255, 255, 255};

std::unique_ptr<RenderSurface> white_surface(int width, int height) {
    auto surface = std::make_unique<RenderSurface>(Size{width, height});
    surface->fill({0, 0}, {width, height}, kWhite);
    return surface;
}

// Text drawn in black with DejaVu Sans 10 onto a white surface.
std::unique_ptr<RenderSurface> drawn(Size surface_size, std::u16string_view text, Point position,
                                     Size size, int align = 0, bool ellipsis = false) {
    auto surface = white_surface(surface_size.width, surface_size.height);
    TextDraw::draw(*dejavu(10), *surface, kBlack, text, position, size, align, align, ellipsis);
    return surface;
}

// Counts the pixels that differ from `from` (the fill colour), failing on any
// changed pixel outside `area` or without the opacity flag.
int changed_pixels(const RenderSurface& surface, uint16_t from, Rect area) {
    int changed = 0;
    const PixelBuffer& pixels = *surface.buffer();
    for (int y = 0; y < pixels.height(); ++y)
        for (int x = 0; x < pixels.width(); ++x)
            if (uint16_t p = pixels.pixel(x, y); p != from) {
                ++changed;
                EXPECT_TRUE(p & rgb565::kOpaqueFlag) << x << "," << y;
                EXPECT_TRUE(x >= area.left && x < area.right && y >= area.top && y < area.bottom)
                    << x << "," << y;
            }
    return changed;
}

// Pixel (x + dx, y) of a equals pixel (x, y) of b over b's whole width.
void expect_same_pixels(const RenderSurface& a, const RenderSurface& b, int dx = 0) {
    const PixelBuffer& pa = *a.buffer();
    const PixelBuffer& pb = *b.buffer();
    for (int y = 0; y < pb.height(); ++y)
        for (int x = 0; x < pb.width(); ++x)
            ASSERT_EQ(pa.pixel(x + dx, y), pb.pixel(x, y)) << x << "," << y;
}

}  // namespace

TEST(TextDrawMeasure, ExtentsAreCumulativePerUtf16UnitAndPairsFitWhole) {
    // DejaVu Sans at 14 pixels: a 9, W 14, zhe 13, x 8; the emoji U+1F600
    // 17, 136 pixels of the colour font's 109-pixel size scaled to 14.
    auto font = dejavu(10);
    const std::u16string text = u"aW\u0436\U0001F600x";
    std::vector<int32_t> extents;
    EXPECT_EQ(TextDraw::measure(*font, text, -1, &extents), (TextExtent{61, 17, 6}));
    EXPECT_EQ(extents, (std::vector<int32_t>{9, 23, 36, 53, 53, 61}));
    EXPECT_EQ(TextDraw::measure(*font, text, 52).fit, 3);
    EXPECT_EQ(TextDraw::measure(*font, text, 53).fit, 5);
    EXPECT_EQ(TextDraw::measure(*font, u"", -1, &extents), (TextExtent{0, 17, 0}));
    EXPECT_TRUE(extents.empty());
    // Unpaired surrogates measure as U+FFFD; control characters take no width.
    int32_t r = TextDraw::measure(*font, u"\uFFFD").width;
    TextDraw::measure(*font,
                      std::u16string(u"a\xD800"
                                     u"b\xDC00"),
                      -1, &extents);
    EXPECT_EQ(extents, (std::vector<int32_t>{9, 9 + r, 18 + r, 18 + 2 * r}));
    TextDraw::measure(*font,
                      u"a\t\n\x01"
                      u"a",
                      -1, &extents);
    EXPECT_EQ(extents, (std::vector<int32_t>{9, 9, 9, 9, 18}));
}

TEST(TextDrawEllipsis, KeepsWhatFitsInFrontOfTheEllipsis) {
    // a is 9 wide and the ellipsis 14.
    auto font = dejavu(10);
    int32_t space = TextDraw::measure(*font, u" ").width;
    EXPECT_EQ(TextDraw::ellipsis_length(*font, u"aaaa aaaa", 1000), 9u);
    EXPECT_EQ(TextDraw::ellipsis_length(*font, u"aaaa aaaa", 50), 4u);
    EXPECT_EQ(TextDraw::ellipsis_length(*font, u"aaaa aaaa", 49), 3u);
    // The space before the ellipsis is dropped.
    EXPECT_EQ(TextDraw::ellipsis_length(*font, u"aaaa aaaa", 50 + space), 4u);
    EXPECT_EQ(TextDraw::ellipsis_length(*font, u"aaaa aaaa", 5), 0u);
    // The pair U+1F600 (17 wide) is kept whole or dropped whole.
    EXPECT_EQ(TextDraw::ellipsis_length(*font, u"a\U0001F600aaaaaa", 9 + 16 + 14), 1u);
    EXPECT_EQ(TextDraw::ellipsis_length(*font, u"a\U0001F600aaaaaa", 9 + 17 + 14), 3u);

    expect_same_pixels(*drawn({60, 20}, u"aaaa aaaa", {0, 0}, {50, 20}, 0, true),
                       *drawn({60, 20}, u"aaaa\u2026", {0, 0}, {50, 20}));
}

TEST(TextDraw, OnlyPixelsInsideRectangleAndClipChangeAndTheyAreMarkedOpaque) {
    auto font = dejavu(10);
    auto surface = white_surface(60, 20);
    {
        ClipScope scope(*surface, {10, 0}, {20, 20});
        TextDraw::draw(*font, *surface, kBlack, u"WWWWWWW", {0, 0}, {50, 10}, 0, 0, false);
    }
    EXPECT_GT(changed_pixels(*surface, 0xFFFF, {10, 0, 30, 10}), 20);
    // Over pixels that already have the text colour nothing changes, so
    // nothing is marked.
    RenderSurface black(Size{60, 20});
    TextDraw::draw(*font, black, kBlack, u"Hello", {2, 1}, {58, 19}, 0, 0, false);
    EXPECT_EQ(changed_pixels(black, 0x0000, {}), 0);
}

TEST(TextDraw, AlignmentsPlaceTheLineAndTextLeftOfTheSurfaceIsCutNotShifted) {
    auto font = dejavu(10);
    int32_t width = TextDraw::measure(*font, u"Mix").width;
    int32_t height = font->height();
    for (auto [align, dx, dy] : {std::tuple{1, (60 - width) / 2, (30 - height) / 2},
                                 std::tuple{2, 60 - width, 30 - height}})
        expect_same_pixels(*drawn({70, 40}, u"Mix", {5, 5}, {60, 30}, align),
                           *drawn({70, 40}, u"Mix", {5 + dx, 5 + dy}, {width, height}));
    expect_same_pixels(*drawn({45, 20}, u"Wallow", {0, 0}, {60, 20}),
                       *drawn({40, 20}, u"Wallow", {-5, 0}, {60, 20}), 5);
}

// How sequences are drawn shows in the reference image of emoji sequences.
TEST(TextDrawEmoji, SequencesWithAPictureMeasureAndCutAsOneEmoji) {
    auto font = dejavu(10);
    auto width = [&](std::u16string_view text) { return TextDraw::measure(*font, text).width; };
    const int32_t thumbs = width(u"\U0001F44D");
    ASSERT_GT(thumbs, 0);
    // Thumbs up with a skin tone, a family of three, Germany's flag, the
    // keycap 1, England's flag of tags, a couple with a heart.
    const std::u16string sequences[] = {
        u"\U0001F44D\U0001F3FD",
        u"\U0001F468\u200D\U0001F469\u200D\U0001F467",
        u"\U0001F1E9\U0001F1EA",
        u"1\uFE0F\u20E3",
        u"\U0001F3F4\U000E0067\U000E0062\U000E0065\U000E006E\U000E0067\U000E007F",
        u"\U0001F469\u200D\u2764\uFE0F\u200D\U0001F468",
    };
    for (const std::u16string& sequence : sequences) {
        std::vector<int32_t> extents;
        EXPECT_EQ(TextDraw::measure(*font, u"a" + sequence + u"a", -1, &extents).width,
                  thumbs + 2 * width(u"a"));
        // One extent for all of its units: nothing fits until all of it does.
        EXPECT_EQ(extents.front(), 9);
        for (size_t i = 1; i <= sequence.size(); ++i) EXPECT_EQ(extents[i], 9 + thumbs);
        EXPECT_EQ(TextDraw::measure(*font, u"a" + sequence, 9 + thumbs - 1).fit, 1);
        EXPECT_EQ(TextDraw::ellipsis_length(*font, sequence + sequence,
                                            thumbs + font->glyph(TextDraw::kEllipsis).advance),
                  sequence.size());
    }
}

TEST(TextDrawEmoji, SequencesWithoutAPictureShowEveryPartAndStrayMarksShowNothing) {
    auto font = dejavu(10);
    auto width = [&](std::u16string_view text) { return TextDraw::measure(*font, text).width; };
    const int32_t thumbs = width(u"\U0001F44D");
    // No font joins a dog and a cat: each is its own picture, the joiner none
    // (drawn in the reference image of emoji sequences).
    EXPECT_EQ(width(u"\U0001F436\u200D\U0001F431"), 2 * thumbs);
    // Joiners, selectors, tags and keycap marks on their own draw nothing;
    // the heart still takes its emoji look from its selector.
    for (std::u16string_view stray :
         {u"\u200D", u"\uFE0F", u"\U000E0067\U000E007F", u"\u200D\uFE0F\u200D"}) {
        EXPECT_EQ(width(stray), 0);
        EXPECT_EQ(changed_pixels(*drawn({40, 20}, stray, {0, 0}, {40, 20}), 0xFFFF, {}), 0);
    }
    EXPECT_EQ(width(u"\U0001F44D\u200D"), thumbs);
    EXPECT_EQ(width(u"\u2764\uFE0F"), thumbs);
    EXPECT_LT(width(u"\u2764"), thumbs);
    const std::u16string hearts = u"\u2764\uFE0F\u2764\uFE0F\u2764\uFE0F";
    int32_t room = 2 * thumbs + font->glyph(TextDraw::kEllipsis).advance;
    EXPECT_EQ(TextDraw::ellipsis_length(*font, hearts, room), 4u);
    expect_same_pixels(*drawn({80, 20}, hearts, {0, 0}, {room, 20}, 0, true),
                       *drawn({80, 20}, u"\u2764\uFE0F\u2764\uFE0F\u2026", {0, 0}, {room, 20}));
}

TEST(TextDrawEmoji, BrokenSequencesAreMeasuredAndDrawnInsideTheirText) {
    // Unpaired surrogates where a skin tone, an indicator or a member would
    // go, each text in a buffer of its exact size so that a read past it is
    // caught.
    auto font = dejavu(10);
    const int32_t replacement = TextDraw::measure(*font, u"\uFFFD").width;
    const int32_t thumbs = TextDraw::measure(*font, u"\U0001F44D").width;
    for (std::u16string_view broken : {u"\U0001F44D\xD83C", u"\U0001F1E9\xD83C",
                                       u"\U0001F468\u200D\xD83D", u"\U0001F44D\u200D\xDC69"}) {
        auto buffer = std::make_unique<char16_t[]>(broken.size());
        std::copy(broken.begin(), broken.end(), buffer.get());
        std::u16string_view text(buffer.get(), broken.size());
        std::vector<int32_t> extents;
        EXPECT_EQ(TextDraw::measure(*font, text, -1, &extents).width, thumbs + replacement);
        EXPECT_EQ(extents.size(), text.size());
        auto surface = white_surface(60, 20);
        TextDraw::draw(*font, *surface, kBlack, text, {0, 0}, {60, 20}, 0, 0, true);
        EXPECT_GT(changed_pixels(*surface, 0xFFFF, {0, 0, 60, 20}), 0);
    }
}

TEST(TextDraw, HugeAndBrokenTextsAreSafe) {
    auto font = dejavu(10);
    std::u16string text;
    for (int i = 0; i < 20'000; ++i) text += u"\xD83D\t\u0436\xDE00\U0001F600\u200D\uFE0F";
    text.resize(100'000);
    std::vector<int32_t> extents;
    TextExtent extent = TextDraw::measure(*font, text, 100, &extents);
    EXPECT_EQ(extents.back(), extent.width);
    auto surface = white_surface(100, 20);
    TextDraw::draw(*font, *surface, kBlack, text, {-3, -3}, {1'000'000, 1'000'000}, 1, 1, true);
    TextDraw::draw(*font, *surface, kBlack, text, {0, 0}, {100, 20}, 2, 2, false);
    TextLayout layout;
    layout.set_font(font);
    layout.set_text(text);
    layout.set_wrap(true);
    layout.set_ellipsis(true);
    layout.draw(*surface, {0, 0}, {100, 20});
    EXPECT_GT(layout.lines().size(), 1000u);
}

TEST(TextDrawGolden, LatinAndCyrillicOnOneLineAndBoldUnderlinedCentredInColour) {
    auto line = white_surface(200, 20);
    TextDraw::draw(*dejavu(10), *line, kBlack, u"Hello, \u043c\u0438\u0440! Quillmo 0123", {2, 1},
                   {196, 18}, 0, 0, false);
    expect_golden(*line, QUILLMO_TEXT_GOLDEN_DIR, "text_latin_cyrillic");
    RenderSurface surface(Size{120, 28});
    surface.fill({0, 0}, {120, 28}, Color{40, 60, 120, 255});
    FontDesc desc = FontDesc::parse(u"11 1 0 1 DejaVu Sans");
    TextDraw::draw(*FontRep::create(desc), surface, Color{255, 220, 80, 255}, u"Sent \u2713",
                   {0, 0}, {120, 28}, 1, 1, false);
    expect_golden(surface, QUILLMO_TEXT_GOLDEN_DIR, "text_bold_underlined_centred");
}

TEST(TextDrawGolden, ColourEmojiAmongTextAtThreeSizes) {
    // 10, 16 and 32 pixels to the em.
    RenderSurface surface(Size{540, 76});
    surface.fill({0, 0}, {540, 76}, Color{250, 250, 240, 255});
    int32_t top = 1;
    for (int points : {7, 12, 24}) {
        auto font = dejavu(points);
        TextDraw::draw(*font, surface, Color{30, 30, 90, 255},
                       u"Great \U0001F44D\U0001F64F\U0001F923\U0001F970\U0001F389\U0001F495"
                       u"\U0001F525 \u041f\u0440\u0438\u0432\u0435\u0442",
                       {2, top}, {536, font->height()}, 0, 0, false);
        top += font->height() + 1;
    }
    expect_golden(surface, QUILLMO_TEXT_GOLDEN_DIR, "text_colour_emoji");
}

TEST(TextDrawGolden, EmojiSequencesAmongText) {
    // A toned hand, a family, two flags, a keycap, a couple, and a dog and a
    // cat that no font joins.
    RenderSurface surface(Size{300, 22});
    surface.fill({0, 0}, {300, 22}, Color{250, 250, 240, 255});
    auto font = dejavu(12);
    TextDraw::draw(*font, surface, Color{30, 30, 90, 255},
                   u"Ok 👍🏽 👨‍👩‍👧 "
                   u"🇩🇪🏴󠁧󠁢󠁥󠁮"
                   u"󠁧󠁿 1️⃣ 👩‍❤️‍"
                   u"👨 🐶‍🐱 end",
                   {2, 1}, {296, font->height()}, 0, 0, false);
    expect_golden(surface, QUILLMO_TEXT_GOLDEN_DIR, "text_emoji_sequences");
}

TEST(TextDrawGolden, WrappedMessageWithEllipsis) {
    auto surface = white_surface(120, 56);
    TextLayout layout;
    layout.set_font(dejavu(9));
    layout.set_color(Color{20, 20, 20, 255});
    layout.set_text(
        u"Meet at the station at 7? "
        u"\u0412\u0441\u0442\u0440\u0435\u0447\u0430\u0435\u043c\u0441\u044f "
        u"\u0443 \u0432\u043e\u043a\u0437\u0430\u043b\u0430, bring the tickets please");
    layout.set_wrap(true);
    layout.set_ellipsis(true);
    layout.set_alignment(TextDraw::kLeft, TextDraw::kTop);
    layout.draw(*surface, {4, 2}, {112, 52});
    expect_golden(*surface, QUILLMO_TEXT_GOLDEN_DIR, "text_wrapped_ellipsis");
}
