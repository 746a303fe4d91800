#include <gtest/gtest.h>

#include "draw/FontDesc.h"

TEST(FontDesc, ReadsAllFieldsAndWritesThemBack) {
    FontDesc bold = FontDesc::parse(u"12 1 0 0 Tahoma", 2);
    EXPECT_EQ(bold.size, 12);
    EXPECT_EQ(bold.scale, 2);
    EXPECT_TRUE(bold.bold);
    EXPECT_FALSE(bold.italic);
    EXPECT_FALSE(bold.underline);
    EXPECT_EQ(bold.face, u"Tahoma");

    FontDesc spaced = FontDesc::parse(u"  9\t0 7 -1   DejaVu Sans Mono \r");
    EXPECT_EQ(spaced.size, 9);
    EXPECT_TRUE(spaced.italic);
    EXPECT_TRUE(spaced.underline);
    EXPECT_EQ(spaced.face, u"DejaVu Sans Mono");
    EXPECT_EQ(spaced.to_text(), u"9 0 1 1 DejaVu Sans Mono");
    EXPECT_EQ(FontDesc::parse(spaced.to_text()), spaced);
}

TEST(FontDesc, MissingOrJunkFieldsKeepTheDefaults) {
    FontDesc defaults;
    defaults.scale = 4;
    EXPECT_EQ(FontDesc::parse(u"", 4), defaults);
    EXPECT_EQ(FontDesc::parse(u"Tahoma", 4), defaults);
    EXPECT_EQ(FontDesc::parse(u"-3 1 1 1 Arial", 4), defaults);
    EXPECT_EQ(FontDesc::parse(u"99999999999 1 1 1 Arial", 4), defaults);
    EXPECT_EQ(FontDesc::parse(u"12px 1 1 1 Arial", 4), defaults);

    FontDesc partial = FontDesc::parse(u"14 1 x 1 Arial");
    EXPECT_EQ(partial.size, 14);
    EXPECT_TRUE(partial.bold);
    EXPECT_FALSE(partial.italic);
    EXPECT_FALSE(partial.underline);
    EXPECT_EQ(partial.face, u"Tahoma");

    EXPECT_EQ(FontDesc::parse(u"14 0 0 0   ").face, u"Tahoma");
}

TEST(FontDesc, NamedFontsAndTheFaceTheEngineSees) {
    EXPECT_EQ(FontDesc::application().to_text(), u"10 0 0 0 Tahoma");
    EXPECT_EQ(FontDesc::empty().size, 0);
    EXPECT_EQ(FontDesc::empty().face, u"Empty");

    FontDesc long_face;
    long_face.face = std::u16string(40, u'x');
    EXPECT_EQ(long_face.engine_face(), std::u16string(31, u'x'));
    // A pair cut in half would reach the engine as a broken character.
    long_face.face = std::u16string(30, u'x') + u"\U0001F600";
    EXPECT_EQ(long_face.engine_face(), std::u16string(30, u'x'));
}
