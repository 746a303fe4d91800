// Joining the surrogate references that phone backup files write for emoji.
#include <gtest/gtest.h>

#include "tools/device/SurrogateReferences.h"

TEST(SurrogateReferences, PairsBecomeOneCharacterAndLoneHalvesBecomeReplacement) {
    EXPECT_EQ(join_surrogate_references("a&#55357;&#56832;b"), "a&#128512;b");
    EXPECT_EQ(join_surrogate_references("&#xD83D;&#xDE00;"), "&#128512;");
    EXPECT_EQ(join_surrogate_references("&#55357;&#xDC4D;"), "&#128077;");
    EXPECT_EQ(join_surrogate_references("x &#55357;"), "x &#65533;");
    EXPECT_EQ(join_surrogate_references("&#56832;&#55357;"), "&#65533;&#65533;");
    EXPECT_EQ(join_surrogate_references("&#55357; &#56832;"), "&#65533; &#65533;");
    EXPECT_EQ(join_surrogate_references("&#55357;&#55357;&#56832;"), "&#65533;&#128512;");
}

TEST(SurrogateReferences, EverythingElseIsLeftAsItIs) {
    for (const char* text :
         {"&#10;&#x41;&amp;&lt;&#1114111;", "plain\ntext\r\n", "&#", "&#;", "&#55357", "&#xZZ;",
          "&#5535755357;", "<!-- &#55357;&#56832; -->", "<![CDATA[&#55357;]]>", "<?pi &#55357;?>",
          "<!-- unterminated &#55357;", "ünïcödé 😀"})
        EXPECT_EQ(join_surrogate_references(text), text) << text;
    // Line breaks stay where they were, so parser line numbers still match.
    EXPECT_EQ(join_surrogate_references("<a b='&#55357;\n&#56832;'/>\n<!-- &#55357; -->&#56832;"),
              "<a b='&#65533;\n&#65533;'/>\n<!-- &#55357; -->&#65533;");
}
