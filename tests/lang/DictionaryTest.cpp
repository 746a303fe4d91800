#include <gtest/gtest.h>

#include "LangFiles.h"
#include "lang/Dictionary.h"
#include "support/TestDevice.h"

namespace {

TEST(Dictionary, ShowsTheKeyOfAMissingTextAndKeepsItsTextsWhenALoadFails) {
    TestDevice device;
    write_file(device.program() / "english.lng", utf16_file(u"Cancel=Back\r\nExit=Quit\r\n"));
    write_file(device.program() / "russian.lng", utf16_file(u"Exit=Выход"));
    Dictionary dictionary;
    EXPECT_EQ(dictionary.text(u"Cancel"), u"Cancel");
    ASSERT_TRUE(dictionary.load(u"%app_path%/english.lng"));
    EXPECT_EQ(dictionary.text(u"Cancel"), u"Back");
    EXPECT_EQ(dictionary.text(u"Missing"), u"Missing");
    EXPECT_EQ(dictionary.find(u"Missing"), nullptr);

    EXPECT_FALSE(dictionary.load(u"%app_path%/gone.lng"));
    EXPECT_EQ(dictionary.text(u"Cancel"), u"Back");
    EXPECT_EQ(dictionary.path(), u"%app_path%/english.lng");
    // A successful load replaces everything; nothing is merged.
    ASSERT_TRUE(dictionary.load(u"%app_path%/russian.lng"));
    EXPECT_EQ(dictionary.text(u"Cancel"), u"Cancel");
    EXPECT_EQ(dictionary.text(u"Exit"), u"Выход");
}

}  // namespace
