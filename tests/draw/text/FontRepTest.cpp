#include <gtest/gtest.h>

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

TEST(FontRep, UnknownFacesFallBackToTheSansFace) {
    auto base = dejavu(10);
    for (const char16_t* desc : {u"10 0 0 0 Tahoma", u"10 0 0 0 No Such Face \u00ff\u00fe"}) {
        auto font = FontRep::create(FontDesc::parse(desc));
        ASSERT_TRUE(font->has_face());
        EXPECT_EQ(font->height(), base->height());
        EXPECT_EQ(font->glyph(u'W').advance, base->glyph(u'W').advance);
        EXPECT_EQ(font->glyph(u'W').coverage, base->glyph(u'W').coverage);
    }
}

TEST(FontRep, FontsWithoutAFaceHaveNoMetricsAndSaySo) {
    auto none = FontRep::create(FontDesc::empty());
    EXPECT_FALSE(none->has_face());
    EXPECT_EQ(none->height(), 0);
    EXPECT_EQ(none->glyph(u'a').advance, 0);

    LogCapture log;
    EXPECT_FALSE(FontRep::create(FontDesc::parse(u"10 0 0 0 DejaVu Sans", 0))->has_face());
    std::string text = log.text();
    EXPECT_NE(text.find("ERROR: FontRep::FontRep() Failed to create font\n"), std::string::npos);
    EXPECT_NE(text.find("Creating font: {DejaVu Sans} elapsed="), std::string::npos);
    EXPECT_NE(text.find("GetTextMetrics failed: {DejaVu Sans}\n"), std::string::npos);
}
