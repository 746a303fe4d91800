// The language files and help pages the build puts into the program folder,
// and the texts the shipped skin asks them for.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "lang/KeyValueFile.h"
#include "platform/Utf16.h"
#include "skin/SkinTestSupport.h"
#include "skin/file/SkinFile.h"

namespace {

const char* const kLanguages[] = {"english", "russian", "german"};

// Every key the program's code looks up.
const char16_t* const kProgramKeys[] = {
    u"MainMenu", u"Alerts", u"Templates", u"Language", u"Skin", u"Cancel", u"Help", u"Minimize",
    u"Exit", u"Help_link", u"Chat", u"SMS", u"ModifyRecipients", u"AddRecipients", u"ViewContact",
    u"AddContact", u"SendContact", u"DeleteChat", u"ReallyDeleteChat", u"DeleteSMS", u"Forward",
    u"Resend", u"Copy", u"NoMoodcard", u"InstallMoodcard", u"AboutMoodcard", u"InstallMoodcardLink",
    u"AboutMoodcardLink", u"Recipients", u"Recipient", u"Delete", u"Send", u"DefaultTemplates",
    u"TemplateSlash",
    // Texts of the skins' elements.
    u"Chats", u"New", u"Menu", u"Close", u"Back", u"View", u"Add", u"Write", u"NewMessage",
    u"Loading", u"Moodcard", u"Today", u"Yesterday"};

std::filesystem::path program_folder() {
    const char* folder = std::getenv("QUILLMO_PROGRAM_DIR");
    return folder ? folder : "";
}

class ShippedLanguages : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(program_folder().empty());
        for (const char* language : kLanguages) {
            auto pairs = KeyValueFile::load(
                utf16::from_utf8((program_folder() / language).string() + ".lng"));
            ASSERT_TRUE(pairs) << language;
            languages_.push_back(std::move(*pairs));
        }
    }

    static std::set<std::u16string> keys(const KeyValueFile::Map& pairs) {
        std::set<std::u16string> keys;
        for (const auto& [key, text] : pairs) keys.insert(key);
        return keys;
    }

    std::vector<KeyValueFile::Map> languages_;
};

TEST_F(ShippedLanguages, AllHoldTheSameKeysEveryKeyOfTheProgramAndNoEmptyText) {
    for (size_t i = 1; i < languages_.size(); ++i)
        EXPECT_EQ(keys(languages_[i]), keys(languages_[0])) << kLanguages[i];
    for (const char16_t* key : kProgramKeys)
        EXPECT_TRUE(languages_[0].contains(key)) << utf16::to_utf8(key);
    for (size_t i = 0; i < languages_.size(); ++i) {
        for (const auto& [key, text] : languages_[i])
            EXPECT_FALSE(text.empty()) << kLanguages[i] << " " << utf16::to_utf8(key);
        // An empty part would show as a blank template.
        const std::u16string& templates = languages_[i].at(u"DefaultTemplates");
        EXPECT_EQ(templates.find(u"//"), std::u16string::npos) << kLanguages[i];
        EXPECT_FALSE(templates.starts_with(u"/") || templates.ends_with(u"/")) << kLanguages[i];
    }
    // The files are UTF-16: text beyond Latin-1 comes through.
    EXPECT_EQ(languages_[1].at(u"Cancel"), u"Отмена");
    EXPECT_EQ(languages_[2].at(u"Close"), u"Schließen");
}

TEST_F(ShippedLanguages, EachHelpLinkNamesAHelpPage) {
    for (const KeyValueFile::Map& pairs : languages_) {
        std::filesystem::path page =
            program_folder() / "help" / utf16::to_utf8(pairs.at(u"Help_link"));
        std::error_code ec;
        EXPECT_TRUE(std::filesystem::is_regular_file(page, ec)) << page;
        EXPECT_GT(std::filesystem::file_size(page, ec), 0u) << page;
    }
}

// Every "text" attribute of the node and its children, recursively.
void collect_texts(const SkinFile& skin, SkinNode node, std::set<std::u16string>& texts) {
    std::u16string_view text = skin.string(node, u"text", {});
    if (!text.empty()) texts.emplace(text);
    for (size_t i = 0; i < skin.child_count(node); ++i)
        collect_texts(skin, skin.child(node, i), texts);
}

TEST_F(ShippedLanguages, EveryTextOfTheDefaultSkinIsAKeyOfEachLanguage) {
    std::filesystem::path path = program_folder() / "skins" / "bin" / "default.skin";
    if (!std::filesystem::exists(path))
        GTEST_SKIP() << "no default skin in the program folder yet: " << path;
    auto skin = SkinFile::load(utf16::from_utf8(path.string()), 96, fake_makers());
    ASSERT_TRUE(skin);
    std::set<std::u16string> texts;
    for (const auto& [name, node] : skin->named_nodes()) collect_texts(*skin, node, texts);
    EXPECT_FALSE(texts.empty());
    for (const std::u16string& text : texts)
        for (size_t i = 0; i < languages_.size(); ++i)
            EXPECT_TRUE(languages_[i].contains(text))
                << kLanguages[i] << " has no key " << utf16::to_utf8(text);
}

}  // namespace
