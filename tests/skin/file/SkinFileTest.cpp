#include <gtest/gtest.h>

#include "skin/SkinFromJson.h"
#include "skin/SkinTestSupport.h"
#include "skin/file/SkinFile.h"
#include "support/LogCapture.h"
#include "support/TestDevice.h"

namespace {

using AK = skin_format::AttributeKind;
// A skin with every kind of attribute in one named node and a small child tree.
const CompiledSkin& sample() {
    static const CompiledSkin bytes = compile_skin(R"({"named": {
        "btnSend": {"integers": {"height": -40, "width": 120},
                    "fonts": {"font": {"size": 9, "italic": true, "underline": true}},
                    "points": {"offset": [-3, 5]}, "strings": {"caption": "Сообщение", "text": "Send"},
                    "pictures": {"back": {"file": "icons/send", "p": [[1, 2], [4, 5], [7, 8], [9, 10]],
                                          "flag": 7}},
                    "colors": {"back": [10, 20, 30]},
                    "children": [{"integers": {"id": 1}},
                                 {"integers": {"id": 2}, "children": [{"integers": {"id": 3}}]}]},
        "FormChat": {"integers": {"id": 9}}, "Zeta": {"integers": {"id": 9}},
        "FormSplash": {"integers": {"id": 9}, "pictures": {"splash": {"file": "bubble"}}}}})");
    return bytes;
}

std::unique_ptr<SkinFile> load(const CompiledSkin& bytes, int32_t dpi = 96,
                               std::vector<std::u16string>* paths = nullptr,
                               std::vector<FontDesc>* fonts = nullptr) {
    return SkinFile::load_bytes(bytes, u"%app_path%/skins/bin/main.skin", dpi,
                                fake_makers(paths, fonts));
}

TEST(SkinFile, LooksUpNamedNodesExactlyAndWalksChildrenInOrder) {
    TestDevice device;
    auto skin = load(sample());
    ASSERT_TRUE(skin);
    for (auto name : {u"FormChat", u"FormSplash", u"Zeta"}) {
        auto node = skin->find_node(name);
        ASSERT_TRUE(node) << utf16::to_utf8(name);
        EXPECT_EQ(skin->integer(*node, u"id", 0), 9);
    }
    EXPECT_FALSE(skin->find_node(u"btnsend"));
    EXPECT_FALSE(skin->find_node(u"btnSen"));
    EXPECT_FALSE(skin->find_node(u"btnSendX"));
    auto root = skin->find_node(u"btnSend");
    ASSERT_TRUE(root);
    ASSERT_EQ(skin->child_count(*root), 2u);
    EXPECT_EQ(skin->integer(skin->child(*root, 0), u"id", 0), 1);
    SkinNode second = skin->child(*root, 1);
    EXPECT_EQ(skin->integer(second, u"id", 0), 2);
    ASSERT_EQ(skin->child_count(second), 1u);
    EXPECT_EQ(skin->integer(skin->child(second, 0), u"id", 0), 3);
    auto named = skin->named_nodes();
    ASSERT_EQ(named.size(), 4u);
    EXPECT_EQ(named[0].first, u"FormChat");
    EXPECT_EQ(named[3].first, u"btnSend");  // lower case sorts after upper case

    // A file of the header alone loads and finds nothing.
    auto empty = load(compile_skin(R"({"named": {}})"));
    ASSERT_TRUE(empty);
    EXPECT_FALSE(empty->find_node(u"FormChat"));
    EXPECT_TRUE(empty->named_nodes().empty());
}

TEST(SkinFile, TypedLookupsReadTheirOwnSectionAndFallBack) {
    TestDevice device;
    auto skin = load(sample());
    ASSERT_TRUE(skin);
    SkinNode node = *skin->find_node(u"btnSend");
    EXPECT_EQ(skin->integer(node, u"height", 0), -40);
    EXPECT_EQ(skin->integer(node, u"width", 0), 120);
    EXPECT_EQ(skin->integer(node, u"widt", 77), 77);
    EXPECT_EQ(skin->integer(node, u"back", 77), 77);  // only in other sections
    EXPECT_EQ(skin->string(node, u"text", u"-"), u"Send");
    EXPECT_EQ(skin->string(node, u"caption", u"-"), u"Сообщение");
    EXPECT_EQ(skin->string(node, u"title", u"-"), u"-");
    EXPECT_EQ(skin->font(node, u"font", nullptr), skin->fonts()[0]);
    EXPECT_EQ(skin->font(node, u"bold", nullptr), nullptr);
    EXPECT_EQ(skin->color(node, u"back", {}), (Color{10, 20, 30, 255}));
    EXPECT_EQ(skin->color(node, u"fore", {1, 2, 3, 0}), (Color{1, 2, 3, 0}));
    EXPECT_EQ(skin->point(node, u"offset", {}), (Point{-3, 5}));
    Picture back = skin->picture(node, u"back", {});
    EXPECT_EQ(back.data(), skin->pictures()[1].data());
    EXPECT_EQ(back.points[0], (Point{1, 2}));
    EXPECT_EQ(back.points[3], (Point{9, 10}));
    EXPECT_EQ(back.flags, 1);
    EXPECT_TRUE(skin->picture(node, u"front", {}).empty());
    EXPECT_EQ(skin->attribute_count(node, AK::integer), 2u);
    EXPECT_EQ(skin->attribute_name(node, AK::string, 1), u"text");
    EXPECT_EQ(skin->attribute_count(node, AK::font), 1u);
}

TEST(SkinFile, ScaleShiftFollowsPixelsPerInch) {
    TestDevice device;
    struct Case {
        int32_t dpi, shift;
    };
    for (Case c :
         {Case{96, 0}, Case{191, 0}, Case{192, 1}, Case{383, 1}, Case{384, 2}, Case{480, 2}}) {
        std::vector<FontDesc> fonts;
        auto skin = load(sample(), c.dpi, nullptr, &fonts);
        ASSERT_TRUE(skin);
        EXPECT_EQ(skin->scale_shift(), c.shift) << c.dpi;
        SkinNode node = *skin->find_node(u"btnSend");
        int32_t f = 1 << c.shift;
        EXPECT_EQ(skin->point(node, u"offset", {}), (Point{-3 * f, 5 * f}));
        Picture back = skin->picture(node, u"back", {});
        EXPECT_EQ(back.points[1], (Point{4 * f, 5 * f}));
        EXPECT_EQ(back.scale_shift, c.shift);
        ASSERT_EQ(fonts.size(), 1u);
        EXPECT_EQ(fonts[0].scale, f);
    }
}

TEST(SkinFile, PicturesComeFromTheSkinDirectoryAndAreLogged) {
    TestDevice device;
    LogCapture capture;
    std::vector<std::u16string> paths;
    auto skin = load(sample(), 96, &paths);
    ASSERT_TRUE(skin);
    EXPECT_EQ(paths, (std::vector<std::u16string>{u"%app_path%/skins/bin\\bubble",
                                                  u"%app_path%/skins/bin\\icons/send"}));
    EXPECT_EQ(skin->pictures()[0].points[3], (Point{3, 2}));
    EXPECT_TRUE(capture.has("PropertiesImpl::PropertiesImpl picture load time="));
    EXPECT_TRUE(capture.has(" {icons/send}\n"));
    EXPECT_TRUE(capture.has("PropertiesImpl::PropertiesImpl fonts create time="));

    paths.clear();
    EXPECT_TRUE(SkinFile::load_bytes(sample(), u"main.skin", 96, fake_makers(&paths)));
    EXPECT_EQ(paths.front(), u"bubble");
}

}  // namespace
