// The skin menu: its entries, and switching the skin from it.
#include <gtest/gtest.h>

#include "forms/AppControl.h"
#include "forms/main/SkinMenu.h"
#include "lang/LanguageChoice.h"
#include "platform/Registry.h"
#include "platform/Utf16.h"
#include "skin/Properties.h"
#include "skin/SkinChoice.h"
#include "skin/SkinFromJson.h"
#include "support/TestDevice.h"

namespace {

// The program's screen as a form sees it: a dense one.
class DenseScreen : public AppControl {
public:
    DenseScreen() { AppControl::set_current(this); }
    ~DenseScreen() override { AppControl::set_current(nullptr); }
    void minimise() override {}
    void mark_backgrounded() override {}
    void post_quit() override {}
    ScreenInfo screen() const override {
        ScreenInfo info;
        info.width = 480;
        info.height = 800;
        info.pixels_per_inch = 192;
        return info;
    }
};

class SkinMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        add("default.skin", "default");
        add("Dark.skin", "dark");
        add("splash.skin", "splash");
        ASSERT_TRUE(registry::write_string(choice_key(), u"Skin", u"DARK"));
        ASSERT_TRUE(choose_skin_at_start(properties_, kProductKeyName, ScreenInfo{}));
        ASSERT_TRUE(properties_.find_node(u"dark"));
    }
    std::filesystem::path file(const std::string& file_name) {
        return device_.program() / "skins" / "bin" / file_name;
    }
    void add(const std::string& file_name, const std::string& node) {
        write_skin(file(file_name), R"({"named": {")" + node + R"(": {}}})");
    }
    std::optional<std::u16string> registry_value() {
        std::u16string value;
        if (!registry::read_string(choice_key(), u"Skin", value)) return std::nullopt;
        return value;
    }

    TestDevice device_;
    Properties properties_;
};

TEST_F(SkinMenuTest, ListsTheMainSkinsCheckingTheCurrentOneAndNeverTheSplash) {
    std::vector<MenuEntry> entries;
    EXPECT_FALSE(SkinMenu::fill(properties_, u"Skin", entries));
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0], (MenuEntry{u"Skin#Dark", u"Dark", {}, {}, true, false, true}));
    EXPECT_EQ(entries[1], (MenuEntry{u"Skin#default", u"default"}));
    EXPECT_EQ(entries[2], (MenuEntry{u"Cancel", u"Cancel"}));
}

TEST_F(SkinMenuTest, ChoosingAnotherSkinLoadsItForTheScreenAndRemembersIt) {
    DenseScreen screen;
    std::vector<MenuEntry> entries;
    EXPECT_TRUE(SkinMenu::fill(properties_, u"Skin#default", entries));
    EXPECT_TRUE(entries.empty());
    EXPECT_TRUE(properties_.find_node(u"default"));
    EXPECT_EQ(properties_.scale_shift(), 1);
    EXPECT_EQ(registry_value(), u"default");
}

TEST_F(SkinMenuTest, TheCurrentADamagedOrTheSplashSkinLeavesTheSkinAndTheRegistry) {
    write_file(file("default.skin"), std::string("damaged"));
    ASSERT_TRUE(registry::delete_value(choice_key(), u"Skin"));
    for (const char16_t* key :
         {u"Skin#Dark", u"Skin#default", u"Skin#splash", u"Skin#missing", u"Language#Dark"}) {
        std::vector<MenuEntry> entries;
        EXPECT_FALSE(SkinMenu::fill(properties_, key, entries)) << utf16::to_utf8(key);
    }
    EXPECT_TRUE(properties_.find_node(u"dark"));
    EXPECT_EQ(properties_.skin_path(), u"%app_path%/skins/bin/Dark.skin");
    EXPECT_EQ(registry_value(), std::nullopt);
}

}  // namespace
