#include "tools/skinc/SkinCompiler.h"

#include <algorithm>
#include <map>
#include <stdexcept>

#include "draw/text/FontDesc.h"
#include "platform/Utf16.h"
#include "skin/file/SkinFormat.h"

namespace skin_compiler {
namespace {

using namespace skin_format;
using Bytes = std::vector<uint8_t>;

[[noreturn]] void fail(const std::string& what) { throw std::runtime_error(what); }

void put16(Bytes& b, size_t at, uint32_t v) {
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}
void put32(Bytes& b, size_t at, uint32_t v) {
    put16(b, at, v & 0xFFFF);
    put16(b, at + 2, v >> 16);
}

const char* const kSections[kKindCount] = {"integers", "fonts",    "points",
                                           "strings",  "pictures", "colors"};

const JsonValue& expect(const JsonValue* v, JsonValue::Type type, const std::string& where) {
    if (!v || v->type != type) fail(where + ": wrong type or missing");
    return *v;
}

int64_t number(const JsonValue* v, int64_t low, int64_t high, const std::string& where) {
    int64_t n = expect(v, JsonValue::Type::number, where).number;
    if (n < low || n > high) fail(where + ": " + std::to_string(n) + " out of range");
    return n;
}

bool flag(const JsonValue& font, const char* name, const std::string& where) {
    // true/false, or 0/1 as the dump prints them.
    const JsonValue* v = font.find(name);
    if (v && v->type == JsonValue::Type::number) return number(v, 0, 1, where + "." + name) != 0;
    return v && expect(v, JsonValue::Type::boolean, where + "." + name).boolean;
}

// The UTF-16 form of a text that goes into the file. Strings there end at
// their first 0 unit, so a NUL inside one would cut it short and shift every
// string stored after it onto the wrong index; it is refused instead.
std::u16string stored(const std::string& utf8, const std::string& where) {
    std::u16string text = utf16::from_utf8(utf8);
    if (text.find(u'\0') != std::u16string::npos) fail(where + ": contains a NUL character");
    return text;
}

// The loader reads picture NAME from "<skin folder>/NAME.bmp", so a name is a
// relative path that stays inside the skin's folder: parts separated by "/",
// none of them empty, "." or "..". A "\" would separate folders for the
// loader but be part of the file name here, so it is refused, not guessed at.
void check_picture_name(const std::string& name, const std::string& where) {
    const std::string quoted = "picture name \"" + name + "\"";
    if (name.empty()) fail(where + ": empty picture name");
    if (name.find('\\') != std::string::npos)
        fail(where + ": " + quoted + " contains \"\\\"; folders are separated by \"/\"");
    if (name.front() == '/')
        fail(where + ": " + quoted + " is absolute; it must name a file in the skin's folder");
    for (size_t begin = 0; begin <= name.size();) {
        size_t end = std::min(name.find('/', begin), name.size());
        std::string_view part(name.data() + begin, end - begin);
        if (part == "..") fail(where + ": " + quoted + " leaves the skin's folder");
        if (part.empty() || part == ".")
            fail(where + ": " + quoted + " has an empty or \".\" part");
        begin = end + 1;
    }
}

// The font description of a font attribute, as the loader will read it back:
// white space around the face is dropped and an empty face is "Tahoma", so a
// dump of the skin compiles back to the same bytes.
std::u16string font_text(const JsonValue& v, const std::string& at) {
    expect(&v, JsonValue::Type::object, at);
    FontDesc desc;
    if (const JsonValue* s = v.find("size"))
        desc.size = static_cast<int32_t>(number(s, 0, 10000, at + ".size"));
    desc.bold = flag(v, "bold", at);
    desc.italic = flag(v, "italic", at);
    desc.underline = flag(v, "underline", at);
    if (const JsonValue* f = v.find("face"))
        desc.face = stored(expect(f, JsonValue::Type::string, at + ".face").text, at + ".face");
    return FontDesc::parse(desc.to_text()).to_text();
}

// A list of texts in first-use order, each stored once.
struct TextList {
    std::vector<std::u16string> texts;
    std::map<std::u16string, size_t> index;
    size_t add(const std::u16string& text) {
        auto [it, added] = index.emplace(text, texts.size());
        if (added) texts.push_back(text);
        return it->second;
    }
};

class Compiler {
public:
    Output run(const JsonValue& source) {
        const JsonValue& root = expect(&source, JsonValue::Type::object, "document");
        for (const auto& [key, value] : root.members)
            if (key != "named") fail("document: unknown member \"" + key + "\"");
        std::vector<std::pair<std::u16string, const JsonValue*>> named;
        if (const JsonValue* n = root.find("named"))
            for (const auto& [name, node] : expect(n, JsonValue::Type::object, "named").members)
                named.emplace_back(stored(name, "named." + name), &node);
        std::sort(named.begin(), named.end());
        // Pictures, fonts and strings are numbered in name order, not in the
        // order the source lists them, so a dump compiles back to equal bytes.
        for (const auto& [name, node] : named) collect(*node, utf16::to_utf8(name));
        for (size_t i = 1; i < named.size(); ++i)
            if (named[i].first == named[i - 1].first) fail("node names equal after conversion");

        out_.assign(kHeaderSize, 0);
        for (size_t i = 0; i < kMagic.size(); ++i) put16(out_, 2 * i, kMagic[i]);
        // Attribute names first: their offsets are 16 bits wide.
        for (auto& [name, at] : names_) {
            at = add_string(name);
            if (at > 0xFFFF) fail("attribute names do not fit in the first 65,536 bytes");
        }
        put32(out_, kPictureCount, static_cast<uint32_t>(pictures_.texts.size()));
        put32(out_, kFontCount, static_cast<uint32_t>(fonts_.texts.size()));
        put32(out_, kStringCount, static_cast<uint32_t>(strings_.texts.size()));
        put32(out_, kStringBlock, static_cast<uint32_t>(out_.size()));
        for (const TextList* list : {&pictures_, &fonts_, &strings_})
            for (const auto& text : list->texts) add_string(text);
        put32(out_, kRootOffset, tree(named, 0, named.size()));
        if (out_.size() > 0xFFFFFFFF)
            fail("the skin would pass the 4 GB that 32-bit offsets reach");

        Output output{std::move(out_), {}};
        for (const auto& p : pictures_.texts) output.pictures.push_back(utf16::to_utf8(p));
        return output;
    }

private:
    // First pass: checks the shape and gathers names, pictures, fonts and strings.
    void collect(const JsonValue& node, const std::string& where) {
        expect(&node, JsonValue::Type::object, where);
        for (const auto& [key, value] : node.members) {
            auto section = std::find(std::begin(kSections), std::end(kSections), key);
            if (key == "children") {
                const auto& children =
                    expect(&value, JsonValue::Type::array, where + ".children").items;
                for (size_t i = 0; i < children.size(); ++i)
                    collect(children[i], where + ".children[" + std::to_string(i) + "]");
                continue;
            }
            if (section == std::end(kSections)) fail(where + ": unknown member \"" + key + "\"");
            auto kind = static_cast<AttributeKind>(section - std::begin(kSections));
            std::vector<std::pair<std::u16string, std::pair<std::string, const JsonValue*>>> sorted;
            for (const auto& [name, v] :
                 expect(&value, JsonValue::Type::object, where + "." + key).members)
                sorted.push_back({stored(name, where + "." + key + "." + name), {name, &v}});
            std::sort(sorted.begin(), sorted.end());
            for (const auto& [wide, entry] : sorted) {
                const auto& [name, pointer] = entry;
                const JsonValue& v = *pointer;
                names_.emplace(wide, 0);
                std::string at = where + "." + key + "." + name;
                if (kind == AttributeKind::font) {
                    fonts_.add(font_text(v, at));
                } else if (kind == AttributeKind::string) {
                    strings_.add(stored(expect(&v, JsonValue::Type::string, at).text, at));
                    // A string attribute holds its value's index in 16 bits.
                    if (strings_.texts.size() > 0x10000)
                        fail(at + ": more than 65,536 different string values");
                } else if (kind == AttributeKind::picture) {
                    expect(&v, JsonValue::Type::object, at);
                    const std::string& file =
                        expect(v.find("file"), JsonValue::Type::string, at + ".file").text;
                    check_picture_name(file, at + ".file");
                    pictures_.add(stored(file, at + ".file"));
                    if (pictures_.texts.size() > 256) fail(at + ": more than 256 pictures");
                }
            }
        }
    }

    uint32_t add_string(const std::u16string& text) {
        auto at = static_cast<uint32_t>(out_.size());
        for (char16_t c : text) {
            out_.push_back(static_cast<uint8_t>(c));
            out_.push_back(static_cast<uint8_t>(c >> 8));
        }
        out_.insert(out_.end(), {0, 0});
        return at;
    }

    void entry(AttributeKind kind, const JsonValue& v, Bytes& e) {
        auto coordinate = [](const JsonValue& p, int64_t low, int64_t high,
                             const std::string& where) {
            const auto& xy = expect(&p, JsonValue::Type::array, where).items;
            if (xy.size() != 2) fail(where + ": a point is [x, y]");
            return std::pair{number(&xy[0], low, high, where), number(&xy[1], low, high, where)};
        };
        switch (kind) {
            case AttributeKind::integer:
                put32(e, 4, static_cast<uint32_t>(number(&v, INT32_MIN, INT32_MAX, "integer")));
                break;
            case AttributeKind::font: {
                put32(e, 4, static_cast<uint32_t>(fonts_.index.at(font_text(v, "font"))));
                break;
            }
            case AttributeKind::point: {
                auto [x, y] = coordinate(v, INT16_MIN, INT16_MAX, "point");
                put16(e, 4, static_cast<uint32_t>(x));
                put16(e, 6, static_cast<uint32_t>(y));
                break;
            }
            case AttributeKind::string:
                put16(e, 2, static_cast<uint32_t>(strings_.index.at(utf16::from_utf8(v.text))));
                break;
            case AttributeKind::picture: {
                if (const JsonValue* p = v.find("p")) {
                    const auto& points = expect(p, JsonValue::Type::array, "picture.p").items;
                    if (points.size() != 4) fail("picture.p: four points expected");
                    for (size_t i = 0; i < 4; ++i) {
                        auto [x, y] = coordinate(points[i], 0, 0xFFFF, "picture.p");
                        put16(e, 2 + 4 * i, static_cast<uint32_t>(x));
                        put16(e, 4 + 4 * i, static_cast<uint32_t>(y));
                    }
                }
                e[18] = static_cast<uint8_t>(
                    pictures_.index.at(utf16::from_utf8(v.find("file")->text)));
                if (const JsonValue* f = v.find("flag"))
                    e[19] = number(f, 0, 255, "picture.flag") != 0;
                break;
            }
            case AttributeKind::color: {
                const auto& rgb = expect(&v, JsonValue::Type::array, "color").items;
                if (rgb.size() < 3 || rgb.size() > 4) fail("color: [r, g, b] expected");
                for (size_t i = 0; i < 3; ++i)
                    e[4 + i] = static_cast<uint8_t>(number(&rgb[i], 0, 255, "color"));
                break;
            }
        }
    }

    // Writes the children, then `record` bytes for an index record, then the
    // node; returns the offset of the record (or of the node).
    uint32_t node(const JsonValue& source, size_t record) {
        std::vector<uint32_t> children;
        if (const JsonValue* c = source.find("children"))
            for (const JsonValue& child : c->items) children.push_back(node(child, 0));
        if (children.size() > 0xFFFF) fail("more than 65,535 children");
        out_.resize(out_.size() + record);
        size_t at = out_.size();
        out_.resize(at + kNodeSize + kChildSize * children.size());
        for (size_t i = 0; i < children.size(); ++i)
            put32(out_, at + kNodeSize + kChildSize * i, children[i]);
        put16(out_, at + 14, static_cast<uint32_t>(children.size()));
        for (size_t k = 0; k < kKindCount; ++k) {
            put16(out_, at + 2 * k, static_cast<uint32_t>(out_.size() - at));
            const JsonValue* section = source.find(kSections[k]);
            if (!section) continue;
            std::vector<std::pair<std::u16string, const JsonValue*>> sorted;
            for (const auto& [name, v] : section->members)
                sorted.emplace_back(utf16::from_utf8(name), &v);
            std::sort(sorted.begin(), sorted.end());
            for (size_t i = 1; i < sorted.size(); ++i)
                if (sorted[i].first == sorted[i - 1].first)
                    fail("attribute names equal after conversion");
            for (const auto& [name, v] : sorted) {
                Bytes e(kEntrySize[k], 0);
                put16(e, 0, names_.at(name));
                entry(static_cast<AttributeKind>(k), *v, e);
                out_.insert(out_.end(), e.begin(), e.end());
            }
        }
        if (out_.size() - at > 0xFFFF) fail("a node's attributes take more than 65,535 bytes");
        put16(out_, at + 12, static_cast<uint32_t>(out_.size() - at));
        return static_cast<uint32_t>(at - record);
    }

    uint32_t tree(const std::vector<std::pair<std::u16string, const JsonValue*>>& named, size_t low,
                  size_t high) {
        if (low >= high) return kNone;
        size_t middle = (low + high) / 2;
        uint32_t left = tree(named, low, middle), right = tree(named, middle + 1, high);
        uint32_t name = add_string(named[middle].first);
        uint32_t at = node(*named[middle].second, kRecordSize);
        put32(out_, at, left);
        put32(out_, at + 4, right);
        put32(out_, at + 8, name);
        return at;
    }

    Bytes out_;
    std::map<std::u16string, uint32_t> names_;
    TextList pictures_, fonts_, strings_;
};

}  // namespace

std::optional<Output> compile(const JsonValue& source, std::string* error) {
    try {
        return Compiler().run(source);
    } catch (const std::exception& e) {
        if (error) *error = e.what();
        return std::nullopt;
    }
}

}  // namespace skin_compiler
