#include <gtest/gtest.h>

#include <filesystem>

#include "LangFiles.h"
#include "lang/LanguageChoice.h"
#include "platform/Registry.h"
#include "support/DefaultLocale.h"
#include "support/LogCapture.h"
#include "support/TestDevice.h"

namespace {

const RegistryPath kKey(u"HKEY_CURRENT_USER\\Software\\Zelvor\\Quillmo");

class LanguageChoice : public ::testing::Test {
protected:
    void add(const char* file_name, const std::u16string& cancel) {
        write_file(device_.program() / file_name, utf16_file(u"Cancel=" + cancel));
    }
    void remove(const char* file_name) { std::filesystem::remove(device_.program() / file_name); }

    // The "Cancel" text of the language chosen at start, "" when none loads.
    std::u16string chosen() {
        Dictionary dictionary;
        if (!choose_language_at_start(dictionary, u"Quillmo")) return {};
        return dictionary.text(u"Cancel");
    }

    TestDevice device_;
    DefaultLocale locale_{"de_DE"};
};

TEST_F(LanguageChoice, TriesRegistryThenSystemLanguageThenEnglishThenAnyFile) {
    add("a-first.lng", u"first");
    add("zz-last.lng", u"last");
    add("english.lng", u"Cancel");
    add("german.lng", u"Abbrechen");
    add("russian.lng", u"Отмена");
    ASSERT_TRUE(registry::write_string(kKey, u"Language", u"russian"));
    EXPECT_EQ(chosen(), u"Отмена");

    // The chosen file was deleted: the system language's file comes next,
    // found whatever the letter case of its name.
    remove("russian.lng");
    EXPECT_EQ(chosen(), u"Abbrechen");
    remove("german.lng");
    add("German.LNG", u"Abbrechen!");
    EXPECT_EQ(chosen(), u"Abbrechen!");

    remove("German.LNG");
    EXPECT_EQ(chosen(), u"Cancel");
    remove("english.lng");
    EXPECT_EQ(chosen(), u"first");

    // The start-up choice never writes the registry.
    std::u16string value;
    ASSERT_TRUE(registry::read_string(kKey, u"Language", value));
    EXPECT_EQ(value, u"russian");
}

TEST_F(LanguageChoice, AnUnreadableMissingOrOutsideRegistryValueCountsAsEmpty) {
    add("german.lng", u"Abbrechen");
    ASSERT_TRUE(registry::write_number(kKey, u"Language", 7));
    EXPECT_EQ(chosen(), u"Abbrechen");
    ASSERT_TRUE(registry::delete_value(kKey, u"Language"));
    EXPECT_EQ(chosen(), u"Abbrechen");
    EXPECT_FALSE(registry::read_raw(kKey, u"Language"));
    // A value naming a file outside the program folder is not followed.
    write_file(device_.program().parent_path() / "outside.lng", utf16_file(u"Cancel=out"));
    ASSERT_TRUE(registry::write_string(kKey, u"Language", u"../outside"));
    EXPECT_EQ(chosen(), u"Abbrechen");
}

TEST_F(LanguageChoice, NoLoadableFileLeavesTheDictionaryAsItWas) {
    std::filesystem::create_directory(device_.program() / "english.lng");
    LogCapture capture;
    Dictionary dictionary;
    EXPECT_FALSE(choose_language_at_start(dictionary, u"Quillmo"));
    EXPECT_TRUE(dictionary.empty());
    EXPECT_EQ(dictionary.path(), u"");
    EXPECT_TRUE(capture.has("No languages, please reinstall"));
}

TEST_F(LanguageChoice, ListsLanguageFilesSortedAndResolvesNamesIgnoringCase) {
    add("russian.lng", u"x");
    add("notes.txt", u"x");
    std::filesystem::create_directory(device_.program() / "folder.lng");
    EXPECT_FALSE(has_several_languages());
    add("ENGLISH.LNG", u"x");
    add("Deutsch.lng", u"x");
    std::vector<std::u16string> names;
    for (const LanguageFile& file : language_files()) names.push_back(file.name);
    EXPECT_EQ(names, (std::vector<std::u16string>{u"Deutsch", u"ENGLISH", u"russian"}));
    EXPECT_TRUE(has_several_languages());

    EXPECT_EQ(language_path(u"russian"), u"%app_path%/russian.lng");
    EXPECT_EQ(language_path(u"english"), u"%app_path%/ENGLISH.LNG");
    EXPECT_EQ(language_path(u"french"), u"%app_path%/french.lng");
    EXPECT_EQ(language_path(u"sub/russian"), u"");
    EXPECT_EQ(language_path(std::u16string(u"russian\0x", 9)), u"");
}

}  // namespace
