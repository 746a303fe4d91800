#include <gtest/gtest.h>

#include <filesystem>

#include "draw/pictures/Load565.h"
#include "skin/SkinTestSupport.h"
#include "support/Contains.h"
#include "support/Files.h"
#include "support/TestDevice.h"
#include "tools/skinc/BmpWriter.h"
#include "tools/skinc/JsonValue.h"
#include "tools/skinc/SkinCompiler.h"
#include "tools/skinc/SkinDump.h"

namespace {

std::optional<skin_compiler::Output> compile(const std::string& text,
                                             std::string* error = nullptr) {
    std::string e;
    auto json = JsonValue::parse(text, &e);
    EXPECT_TRUE(json) << e;
    if (!json) return std::nullopt;
    auto out = skin_compiler::compile(*json, error ? error : &e);
    return out;
}

std::unique_ptr<SkinFile> load(const skin_compiler::Output& out, int32_t dpi = 96) {
    return SkinFile::load_bytes(out.bytes, u"skin.skin", dpi, fake_makers());
}

const char* const kSource = R"({"named": {
  "b": {"integers": {"z": 1, "a": 2, "é": 3, "Z": 4, "ab": 5}},
  "FormChat": {"fonts": {"title": {"size": 9, "bold": true, "face": "DejaVu Sans"}, "body": {}},
               "points": {"pos": [-3, 5]}, "strings": {"text": "Send \u00e9 \ud83d\ude00", "hint": "Send \u00e9 \ud83d\ude00"},
               "pictures": {"back": {"file": "a/dot", "p": [[0,0],[1,1],[2,2],[3,3]], "flag": 5}},
               "colors": {"fore": [10, 20, 30]},
               "children": [{"integers": {"id": 1}}, {"children": [{"integers": {"id": 3}}]}]},
  "A": {}, "C": {}, "D": {}, "E": {}, "F": {}
}})";

TEST(Skinc, CompiledSkinLoadsWithSortedSectionsFindsEveryNodeAndDumpsBackToTheSameBytes) {
    TestDevice device;
    auto out = compile(kSource);
    ASSERT_TRUE(out);
    EXPECT_EQ(out->pictures, std::vector<std::string>{"a/dot"});
    auto skin = load(*out);
    ASSERT_TRUE(skin);
    for (auto name : {u"b", u"FormChat", u"A", u"C", u"D", u"E", u"F"})
        EXPECT_TRUE(skin->find_node(name));
    SkinNode b = *skin->find_node(u"b");
    std::vector<std::u16string> names;
    for (size_t i = 0; i < skin->attribute_count(b, skin_format::AttributeKind::integer); ++i)
        names.push_back(skin->attribute_name(b, skin_format::AttributeKind::integer, i));
    EXPECT_EQ(names, (std::vector<std::u16string>{u"Z", u"a", u"ab", u"z", u"é"}));
    EXPECT_EQ(skin->integer(b, u"é", 0), 3);
    SkinNode form = *skin->find_node(u"FormChat");
    EXPECT_EQ(skin->strings().size(), 1u);  // equal texts are stored once
    EXPECT_EQ(skin->string(form, u"hint", u""), u"Send é 😀");
    EXPECT_EQ(skin->font_desc(form, u"title")->face, u"DejaVu Sans");
    EXPECT_EQ(skin->font_desc(form, u"body"), FontDesc::parse(u"12 0 0 0 Tahoma"));
    // Pictures, colours and children read back are the skin file tests' part.

    // The dump compiles back to the same bytes.
    std::string dumped = dump_skin(*skin);
    EXPECT_TRUE(contains(dumped, R"("pos":[-3,5])"));
    auto again = compile(dumped);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->bytes, out->bytes);
    EXPECT_TRUE(contains(dump_skin(*load(*out, 384)), R"("pos":[-12,20])"));
}

// The test skin and the fuzzer's seeds and kept inputs: whatever compiles
// loads, and its dump compiles back to the same bytes.
TEST(Skinc, TheTestSkinAndFuzzSourcesSurviveDumpAndCompile) {
    TestDevice device;
    std::vector<std::filesystem::path> sources{QUILLMO_TEST_SKIN_SOURCE};
    for (const char* folder :
         {QUILLMO_SKIN_SOURCE_FUZZ_CORPUS_DIR, QUILLMO_SKIN_SOURCE_FUZZ_CRASHES_DIR})
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            sources.push_back(entry.path());
    int compiled = 0;
    for (const auto& path : sources) {
        std::string error;
        auto json = JsonValue::parse(read_file(path), &error);
        auto out = json ? skin_compiler::compile(*json, &error) : std::nullopt;
        if (!out) continue;
        ++compiled;
        auto skin = load(*out);
        ASSERT_TRUE(skin) << path;
        auto again = compile(dump_skin(*skin));
        ASSERT_TRUE(again) << path;
        EXPECT_EQ(again->bytes, out->bytes) << path;
        EXPECT_EQ(again->pictures, out->pictures) << path;
    }
    EXPECT_GE(compiled, 6);
}

// A source with count different string values, 250 to a child node (a node's
// sections hold 65,535 bytes), under the attribute names s0..s249.
std::string many_strings(int count) {
    std::string source = R"({"named": {"n": {"children": [)";
    for (int i = 0; i < count; i += 250) {
        source += i ? ",{\"strings\": {" : "{\"strings\": {";
        for (int j = i; j < count && j < i + 250; ++j)
            source += (j > i ? ",\"s" : "\"s") + std::to_string(j - i) + "\": \"v" +
                      std::to_string(j) + "\"";
        source += "}}";
    }
    return source + "]}}}";
}

TEST(Skinc, SourcesThatDoNotFitTheFileAreRefusedNamingWhere) {
    std::string many_pictures = R"({"named": {"n": {"pictures": {)";
    for (int i = 0; i < 257; ++i)
        many_pictures += (i ? "," : "") + ("\"p" + std::to_string(i) + R"(": {"file": "f)" +
                                           std::to_string(i) + "\"}");
    std::string long_names = R"({"named": {"n": {"integers": {)";
    for (int i = 0; i < 40; ++i)
        long_names +=
            (i ? "," : "") + ("\"" + std::string(1000, 'a') + std::to_string(i) + "\": 1");
    const std::pair<std::string, std::string> cases[] = {
        {R"({"named": {"n": {"points": {"p": [40000, 0]}}}})", "point: 40000 out of range"},
        {R"({"named": {"n": {"colors": {"c": [256, 0, 0]}}}})", "color: 256 out of range"},
        {R"({"named": {"n": {"integer": {"i": 1}}}})", "unknown member"},
        {R"({"nodes": {}})", "unknown member"},
        {many_pictures + "}}}}", ""},
        {long_names + "}}}}", ""},
        {many_strings(65537), "n.children[262].strings.s9: more than 65,536"},
        // A NUL ends a string in the file: the rest would become the next string.
        {R"({"named": {"n": {"strings": {"a": "x\u0000y", "b": "z"}}}})", "n.strings.a:"},
        {R"({"named": {"n": {"integers": {"a\u0000b": 1}}}})", "n.integers.a"},
        {R"({"named": {"n\u0000": {}}})", "named.n"},
        {R"({"named": {"n": {"fonts": {"f": {"face": "Ta\u0000homa"}}}}})", "n.fonts.f.face:"},
        {R"({"named": {"n": {"pictures": {"p": {"file": "a\u0000"}}}}})", "n.pictures.p.file:"},
        // Pictures are written to and read from "<skin folder>/NAME.bmp".
        {R"({"named": {"n": {"pictures": {"p": {"file": "../up"}}}}})", "leaves the skin's folder"},
        {R"({"named": {"n": {"pictures": {"p": {"file": "a/../../up"}}}}})", "leaves"},
        {R"({"named": {"n": {"pictures": {"p": {"file": "/tmp/abs"}}}}})", "is absolute"},
        {R"({"named": {"n": {"pictures": {"p": {"file": ""}}}}})", "empty picture name"},
        {R"({"named": {"n": {"pictures": {"p": {"file": "a//b"}}}}})", "empty or"},
        {R"({"named": {"n": {"pictures": {"p": {"file": "a/./b"}}}}})", "empty or"},
        {R"({"named": {"n": {"pictures": {"p": {"file": "a\\b"}}}}})", "separated by"},
    };
    for (const auto& [source, expected] : cases) {
        std::string error;
        EXPECT_FALSE(compile(source, &error)) << source.substr(0, 80);
        EXPECT_FALSE(error.empty());
        EXPECT_TRUE(contains(error, expected)) << source.substr(0, 80);
    }
    auto nested = compile(R"({"named": {"n": {"pictures": {"p": {"file": "icons/a.b/..c"}}}}})");
    ASSERT_TRUE(nested);
    EXPECT_EQ(nested->pictures, std::vector<std::string>{"icons/a.b/..c"});
}

TEST(Skinc, JsonReaderIsStrictAndReportsTheLine) {
    std::string error;
    EXPECT_FALSE(JsonValue::parse("{\n\"a\": 1,\n\"a\": 2}", &error));
    EXPECT_EQ(error.rfind("line 3:", 0), 0u) << error;
    for (const char* bad : {"{\"a\": 1.5}", "[1,]", "\"\\ud800\"", "{} x", "\"a\nb\"", "[[[["})
        EXPECT_FALSE(JsonValue::parse(bad, &error)) << bad;
    auto value =
        JsonValue::parse(R"({"t": "\u00e9\n\ud83d\ude00", "b": [true, false, null, -7]})", &error);
    ASSERT_TRUE(value);
    EXPECT_EQ(value->find("t")->text, "é\n😀");
    EXPECT_TRUE(value->find("b")->items[0].boolean);
    EXPECT_FALSE(value->find("b")->items[1].boolean);
    EXPECT_EQ(value->find("b")->items[3].number, -7);
}

TEST(Skinc, BitmapsWrittenLoadBackPixelForPixel) {
    TestDevice device;
    auto pixels = PixelBuffer::create(3, 2);
    const uint16_t values[6] = {0xF800, 0x07E0, 0x001F, 0xFFFF, 0x0001, 0xF81F};
    for (int i = 0; i < 6; ++i) pixels->set_pixel(i % 3, i / 3, values[i]);
    auto bytes = bmp_565(*pixels);
    Picture back = load_565_from_memory(bytes, u"x");
    ASSERT_EQ(back.size(), (Size{3, 2}));
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(back.data()->pixels().pixel(i % 3, i / 3), values[i]) << i;
}

}  // namespace
