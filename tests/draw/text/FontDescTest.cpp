#include <gtest/gtest.h>

#include "draw/text/FontDesc.h"

TEST(FontDesc, ReadsAllFieldsWritesThemBackAndCutsTheFaceForTheEngine) {
    // Fields: size, scale, bold, italic, underline, face.
    EXPECT_EQ(FontDesc::parse(u"12 1 0 0 Tahoma", 2),
              (FontDesc{12, 2, true, false, false, u"Tahoma"}));
    FontDesc spaced = FontDesc::parse(u"  9\t0 7 -1   DejaVu Sans Mono \r");
    EXPECT_EQ(spaced, (FontDesc{9, 1, false, true, true, u"DejaVu Sans Mono"}));
    EXPECT_EQ(spaced.to_text(), u"9 0 1 1 DejaVu Sans Mono");
    // The engine sees at most 31 units of the face, and never half a pair.
    spaced.face = std::u16string(40, u'x');
    EXPECT_EQ(spaced.engine_face(), std::u16string(31, u'x'));
    spaced.face = std::u16string(30, u'x') + u"\U0001F600";
    EXPECT_EQ(spaced.engine_face(), std::u16string(30, u'x'));
}

TEST(FontDesc, MissingOrJunkFieldsKeepTheDefaultsFromThereOn) {
    const FontDesc defaults{12, 4};
    EXPECT_EQ(FontDesc::parse(u"", 4), defaults);
    EXPECT_EQ(FontDesc::parse(u"Tahoma", 4), defaults);
    EXPECT_EQ(FontDesc::parse(u"-3 1 1 1 Arial", 4), defaults);
    EXPECT_EQ(FontDesc::parse(u"99999999999 1 1 1 Arial", 4), defaults);
    EXPECT_EQ(FontDesc::parse(u"12px 1 1 1 Arial", 4), defaults);
    EXPECT_EQ(FontDesc::parse(u"14 1 x 1 Arial"), (FontDesc{14, 1, true}));
    EXPECT_EQ(FontDesc::parse(u"14 0 0 0   ").face, u"Tahoma");
}
