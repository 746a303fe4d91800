#include "tools/skinc/SkinDump.h"

#include "platform/JsonWriter.h"
#include "platform/Utf16.h"

namespace {

using AK = skin_format::AttributeKind;

void write_node(const SkinFile& skin, SkinNode node, JsonWriter& json) {
    json.begin_object();
    auto section = [&](const char* key, AK kind, auto&& write) {
        json.key(key);
        json.begin_object();
        for (size_t i = 0; i < skin.attribute_count(node, kind); ++i) {
            std::u16string name = skin.attribute_name(node, kind, i);
            json.key(utf16::to_utf8(name));
            write(name);
        }
        json.end_object();
    };
    auto pair = [&](int64_t x, int64_t y) {
        json.begin_array();
        json.value(x);
        json.value(y);
        json.end_array();
    };
    section("integers", AK::integer,
            [&](const std::u16string& n) { json.value(int64_t{skin.integer(node, n, 0)}); });
    section("fonts", AK::font, [&](const std::u16string& n) {
        const FontDesc d = *skin.font_desc(node, n);
        json.begin_object();
        json.key("size"), json.value(int64_t{d.size});
        json.key("scale"), json.value(int64_t{d.scale});
        json.key("bold"), json.value(int64_t{d.bold});
        json.key("italic"), json.value(int64_t{d.italic});
        json.key("underline"), json.value(int64_t{d.underline});
        json.key("face"), json.value(d.face);
        json.end_object();
    });
    section("points", AK::point, [&](const std::u16string& n) {
        Point p = skin.point(node, n, {});
        pair(p.x, p.y);
    });
    section("strings", AK::string,
            [&](const std::u16string& n) { json.value(skin.string(node, n, u"")); });
    section("pictures", AK::picture, [&](const std::u16string& n) {
        Picture p = skin.picture(node, n, {});
        std::u16string file;
        for (size_t i = 0; i < skin.pictures().size(); ++i)
            if (skin.pictures()[i].data() == p.data()) file = skin.picture_names()[i];
        json.begin_object();
        json.key("file"), json.value(file);
        json.key("p");
        json.begin_array();
        for (Point q : p.points) pair(q.x, q.y);
        json.end_array();
        json.key("flag"), json.value(int64_t{p.flags});
        json.end_object();
    });
    section("colors", AK::color, [&](const std::u16string& n) {
        Color c = skin.color(node, n, {});
        json.begin_array();
        for (int v : {c.red, c.green, c.blue, c.alpha}) json.value(int64_t{v});
        json.end_array();
    });
    json.key("children");
    json.begin_array(true);
    for (size_t i = 0; i < skin.child_count(node); ++i) write_node(skin, skin.child(node, i), json);
    json.end_array();
    json.end_object();
}

}  // namespace

std::string dump_skin(const SkinFile& skin) {
    std::string out;
    JsonWriter json(out);
    json.begin_object();
    json.key("named");
    json.begin_object();
    for (const auto& [name, node] : skin.named_nodes()) {
        json.key(utf16::to_utf8(name));
        write_node(skin, node, json);
    }
    json.end_object();
    json.end_object();
    out += "\n";
    return out;
}
