// The language menu: its entries, and switching the language from it.
#include <gtest/gtest.h>

#include "forms/main/LanguageMenu.h"
#include "lang/LangFiles.h"
#include "lang/LanguageChoice.h"
#include "platform/Registry.h"
#include "platform/Utf16.h"
#include "skin/Properties.h"
#include "support/TestDevice.h"

namespace {

class LanguageMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        add("english.lng", u"Cancel");
        add("German.lng", u"Abbrechen");
        add("russian.lng", u"Отмена");
    }
    void add(const char* file_name, const std::u16string& cancel) {
        write_file(device_.program() / file_name, utf16_file(u"Cancel=" + cancel));
    }
    bool choose(const std::u16string& key) {
        std::vector<MenuEntry> entries;
        bool switched = LanguageMenu::fill(properties_, key, entries);
        EXPECT_TRUE(entries.empty());
        return switched;
    }
    std::optional<std::u16string> registry_value() {
        std::u16string value;
        if (!registry::read_string(choice_key(), u"Language", value)) return std::nullopt;
        return value;
    }

    TestDevice device_;
    Properties properties_;
};

TEST_F(LanguageMenuTest, ListsEveryLanguageCheckingTheCurrentOneWhateverItsCase) {
    ASSERT_TRUE(registry::write_string(choice_key(), u"Language", u"GERMAN"));
    ASSERT_TRUE(choose_language_at_start(properties_.dictionary(), kProductKeyName));
    std::vector<MenuEntry> entries;
    EXPECT_FALSE(LanguageMenu::fill(properties_, u"Language", entries));
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0], (MenuEntry{u"Language#German", u"German", {}, {}, true, false, true}));
    EXPECT_EQ(entries[1], (MenuEntry{u"Language#english", u"english"}));
    EXPECT_EQ(entries[2], (MenuEntry{u"Language#russian", u"russian"}));
    EXPECT_EQ(entries[3], (MenuEntry{u"Cancel", u"Abbrechen"}));
}

TEST_F(LanguageMenuTest, ChoosingAnotherLanguageSwitchesAndRemembersItAndNothingElseDoes) {
    ASSERT_TRUE(choose_language_at_start(properties_.dictionary(), kProductKeyName));
    ASSERT_EQ(properties_.translate(u"Cancel"), u"Cancel");

    EXPECT_TRUE(choose(u"Language#russian"));
    EXPECT_EQ(properties_.translate(u"Cancel"), u"Отмена");
    EXPECT_EQ(registry_value(), u"russian");

    // The current language, one that is gone, one outside the program
    // folder, and keys of other menus change nothing and write nothing.
    ASSERT_TRUE(registry::delete_value(choice_key(), u"Language"));
    write_file(device_.program().parent_path() / "outside.lng", utf16_file(u"Cancel=out"));
    for (const char16_t* key : {u"Language#russian", u"Language#french", u"Language#../outside",
                                u"Language#", u"Skin#english", u"Cancel"}) {
        EXPECT_FALSE(choose(key)) << utf16::to_utf8(key);
    }
    EXPECT_EQ(properties_.translate(u"Cancel"), u"Отмена");
    EXPECT_EQ(properties_.dictionary().path(), u"%app_path%/russian.lng");
    EXPECT_EQ(registry_value(), std::nullopt);
}

}  // namespace
