#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "draw/TestFonts.h"
#include "draw/text/FontRep.h"
#include "support/LogCapture.h"

TEST(FontRep, EqualDescriptionsShareOneFontWhileItIsHeld) {
    auto a = FontRep::create(FontDesc::parse(u"11 0 0 0 DejaVu Sans"));
    auto b = FontRep::create(FontDesc::parse(u"11 0 0 0 DejaVu Sans"));
    EXPECT_EQ(a, b);
    EXPECT_NE(a, FontRep::create(FontDesc::parse(u"11 1 0 0 DejaVu Sans")));
    EXPECT_EQ(a.use_count(), 2);
    a.reset();
    b.reset();
    EXPECT_EQ(FontRep::create(FontDesc::parse(u"11 0 0 0 DejaVu Sans")).use_count(), 1);
}

TEST(FontRep, MetricsAndGlyphsComeFromTheFaceAtItsPixelHeight) {
    // DejaVu Sans: ascender 1901, descender -483 of 2048 units. At 10 points
    // (14 pixels) that is 13 above and 4 below the baseline, rounded up.
    auto font = dejavu(10);
    ASSERT_TRUE(font->has_face());
    EXPECT_EQ(font->pixel_height(), 14);
    EXPECT_EQ(font->height(), 17);
    EXPECT_EQ(font->descent(), 4);
    EXPECT_EQ(font->ascent(), 13);
    EXPECT_EQ(font->internal_leading(), 3);
    // Control characters have no glyph.
    for (char32_t control : {U'\t', U'\n', U'\x7f', U'\x85'}) {
        EXPECT_EQ(font->glyph(control).advance, 0);
        EXPECT_TRUE(font->glyph(control).coverage.empty());
    }
    // No DejaVu face has CJK ideographs: both draw the missing-glyph box.
    const Glyph& box = font->glyph(U'\u4E2D');
    EXPECT_GT(box.advance, 0);
    EXPECT_FALSE(box.coverage.empty());
    EXPECT_EQ(&box, &font->glyph(U'\U00020000'));
}

TEST(FontRep, UnknownFacesTakeTheSansFaceAndUnusableSizesTheDefaultFontInTheirStyle) {
    // The placeholder for no font has no face, by design.
    auto none = FontRep::create(FontDesc::empty());
    EXPECT_FALSE(none->has_face());
    EXPECT_EQ(none->height(), 0);
    EXPECT_EQ(none->glyph(u'a').advance, 0);

    // The default font is "Tahoma" 10, which is DejaVu Sans at 14 pixels here.
    auto regular = dejavu(10), bold = dejavu(10, true);
    LogCapture log;
    FontDesc negative = FontDesc::parse(u"10 1 0 0 DejaVu Sans");
    negative.size = -4;
    // Unknown faces, and sizes that come to no pixels: a zero scale, a
    // negative size.
    for (const auto& [desc, like] :
         {std::pair{FontDesc::parse(u"10 0 0 0 Tahoma"), regular},
          std::pair{FontDesc::parse(u"10 0 0 0 No Such Face \u00ff\u00fe"), regular},
          std::pair{FontDesc::parse(u"10 0 0 0 DejaVu Sans", 0), regular},
          std::pair{negative, bold}}) {
        auto font = FontRep::create(desc);
        ASSERT_TRUE(font->has_face());
        EXPECT_EQ(font->pixel_height(), 14);
        EXPECT_EQ(font->height(), like->height());
        EXPECT_EQ(font->glyph(u'W').advance, like->glyph(u'W').advance);
        EXPECT_EQ(font->glyph(u'W').coverage, like->glyph(u'W').coverage);
    }
    EXPECT_TRUE(log.has("ERROR: FontRep::FontRep() Failed to create font\n"));
    EXPECT_TRUE(log.has("Creating font: {DejaVu Sans} elapsed="));
    EXPECT_FALSE(log.has("GetTextMetrics failed"));
}

TEST(FontRep, EmojiComeInColourNeitherBoldNorSlantedAndInvisibleCharactersShowNothing) {
    // Their sizes, placement and presentations show in the text screenshots
    // and the drawing tests. The colour font holds 136 x 128 pixel glyphs at
    // 109 pixels to the em: at 14 pixels that is 17 x 16.
    auto font = dejavu(10);
    const Glyph& thumbs = font->glyph(U'\U0001F44D');
    EXPECT_TRUE(thumbs.coverage.empty());
    EXPECT_EQ(thumbs.color.size(), 17u * 16u);
    auto bold_italic = FontRep::create(FontDesc::parse(u"10 1 1 0 DejaVu Sans"));
    EXPECT_EQ(bold_italic->glyph(U'\U0001F44D').color, thumbs.color);
    // Joiners, selectors, tags and direction marks show nothing.
    for (char32_t invisible : {U'\u200D', U'\uFE0F', U'\U000E0067', U'\u200F', U'\uFEFF'}) {
        EXPECT_EQ(font->glyph(invisible).advance, 0) << static_cast<uint32_t>(invisible);
        EXPECT_FALSE(font->glyph(invisible).has_pixels()) << static_cast<uint32_t>(invisible);
    }
}

TEST(FontRep, EmojiSequencePicturesComeFromTheColourFaceAndOutliveForgottenLookUps) {
    auto font = dejavu(10);
    const std::u16string toned = u"\U0001F44D\U0001F3FD";
    const Glyph* picture = font->sequence_glyph(toned);
    ASSERT_NE(picture, nullptr);
    EXPECT_FALSE(picture->color.empty());
    EXPECT_EQ(picture->advance, font->glyph(U'\U0001F44D').advance);
    // Neither a letter with a keycap mark nor two emoji no font joins have one.
    EXPECT_EQ(font->sequence_glyph(u"a\u20E3"), nullptr);
    EXPECT_EQ(font->sequence_glyph(u"\U0001F436\u200D\U0001F431"), nullptr);
    // More made-up flags than are remembered: the answers are forgotten, and
    // the picture asked for again is the same glyph, still whole.
    for (char16_t a = 0xDC20; a < 0xDC7F; ++a)
        for (char16_t b = 0xDC20; b < 0xDC70; ++b)
            font->sequence_glyph(std::u16string{0xD83C, 0xDFF4, 0xDB40, a, 0xDB40, b});
    EXPECT_EQ(font->sequence_glyph(toned), picture);
    EXPECT_FALSE(picture->color.empty());
}
