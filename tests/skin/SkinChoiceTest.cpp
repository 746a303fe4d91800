// The skin choice at start and the list of main skins.
#include <gtest/gtest.h>

#include <filesystem>

#include "lang/LanguageChoice.h"
#include "platform/Registry.h"
#include "skin/Properties.h"
#include "skin/SkinChoice.h"
#include "skin/SkinFromJson.h"
#include "support/LogCapture.h"
#include "support/TestDevice.h"

namespace {

class SkinChoice : public ::testing::Test {
protected:
    std::filesystem::path file(const std::string& file_name) {
        return device_.program() / "skins" / "bin" / file_name;
    }
    // A skin whose only node is called node.
    void add(const std::string& file_name, const std::string& node) {
        write_skin(file(file_name), R"({"named": {")" + node + R"(": {}}})");
    }

    // The node of the skin chosen at start, "" when none loads.
    std::u16string chosen() {
        if (!choose_skin_at_start(properties_, u"Quillmo", ScreenInfo{})) return {};
        for (const char16_t* node : {u"a", u"default", u"chosen", u"splash"})
            if (properties_.find_node(node)) return node;
        return u"?";
    }

    TestDevice device_;
    Properties properties_;
};

TEST_F(SkinChoice, TriesRegistryThenDefaultThenEverySkinButTheSplash) {
    add("a.skin", "a");
    add("default.skin", "default");
    add("chosen.skin", "chosen");
    // Upper case sorts first: the splash would be the first skin found.
    add("Splash.skin", "splash");
    ASSERT_TRUE(registry::write_string(choice_key(), u"Skin", u"chosen"));
    EXPECT_EQ(chosen(), u"chosen");
    EXPECT_EQ(properties_.skin_path(), u"%app_path%/skins/bin/chosen.skin");

    std::filesystem::remove(file("chosen.skin"));
    EXPECT_EQ(chosen(), u"default");
    write_file(file("default.skin"), std::string("not a skin"));
    EXPECT_EQ(chosen(), u"a");
    // The splash is no main skin, even when the registry names it.
    ASSERT_TRUE(registry::write_string(choice_key(), u"Skin", u"SPLASH"));
    EXPECT_EQ(chosen(), u"a");

    // Nothing loads: the skin in use stays, and the registry was never written.
    std::filesystem::remove(file("a.skin"));
    LogCapture capture;
    EXPECT_EQ(chosen(), u"");
    EXPECT_TRUE(capture.has("No skins, please reinstall"));
    EXPECT_TRUE(properties_.find_node(u"a"));
    std::u16string value;
    ASSERT_TRUE(registry::read_string(choice_key(), u"Skin", value));
    EXPECT_EQ(value, u"SPLASH");
}

TEST_F(SkinChoice, ListsMainSkinsSortedAndResolvesNamesIgnoringCase) {
    add("splash.skin", "splash");
    add("default.skin", "default");
    EXPECT_FALSE(has_several_skins());
    add("Dark.SKIN", "dark");
    add("notes.txt", "x");
    add("sub/deep.skin", "deep");
    std::filesystem::create_directories(file("folder.skin"));
    std::vector<std::u16string> names;
    for (const SkinFileEntry& skin : skin_files()) names.push_back(skin.name);
    EXPECT_EQ(names, (std::vector<std::u16string>{u"Dark", u"default"}));
    EXPECT_TRUE(has_several_skins());

    EXPECT_EQ(skin_path(u"dark"), u"%app_path%/skins/bin/Dark.SKIN");
    EXPECT_EQ(skin_path(u"default"), u"%app_path%/skins/bin/default.skin");
    EXPECT_EQ(skin_path(u"Splash"), u"");
    EXPECT_EQ(skin_path(u"../default"), u"");
    EXPECT_EQ(skin_path(u"default", u"/elsewhere"), u"/elsewhere/skins/bin/default.skin");
}

}  // namespace
