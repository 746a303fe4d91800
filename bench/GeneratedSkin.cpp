#include "bench/GeneratedSkin.h"

#include <cstdio>
#include <fstream>
#include <vector>

#include "draw/PixelBuffer.h"
#include "platform/Utf16.h"
#include "tools/skinc/BmpWriter.h"
#include "tools/skinc/JsonValue.h"
#include "tools/skinc/SkinCompiler.h"

namespace fs = std::filesystem;

namespace generated_skin {

namespace {

constexpr int kPictureSize = 32;

std::string picture_name(int i) { return "bench_picture_" + std::to_string(i); }

// One row child of kind i % 5: sliced bubble behind the row, text, a small
// colour mark, an icon, a second line of text.
std::string row_child(int i, const FormShape& shape) {
    std::string picture = R"({"file": ")" + picture_name(i % shape.pictures) +
                          R"(", "p": [[0, 0], [8, 8], [24, 24], [32, 32]]})";
    std::string font = shape.fonts ? R"(, "fonts": {"font": {"size": )" +
                                         std::to_string(8 + i % shape.fonts) +
                                         R"(, "face": "DejaVu Sans"}})"
                                   : "";
    std::string id = R"("id": "e)" + std::to_string(i) + R"(", )";
    switch (i % 5) {
        case 0:
            return R"({"strings": {)" + id + R"("type": "image"}, "pictures": {"src": )" + picture +
                   "}}";
        case 1:
            return R"({"strings": {)" + id +
                   R"("type": "text", "halign": "LEFT", "text": "Message )" + std::to_string(i) +
                   R"( of the benchmark, long enough to wrap once or twice"}, "integers": {"wrap": 1},)" +
                   R"( "points": {"border_min": [40, 2], "border_max": [30, 2]})" + font + "}";
        case 2:
            return R"({"strings": {)" + id +
                   R"("type": "color", "anchor_x": "MAX_SIDE", "anchor_y": "CENTER"},)" +
                   R"( "points": {"border_max": [4, 0], "design_size": [12, 12]}, "colors": {"color": [200, 40, 40]}})";
        case 3:
            return R"({"strings": {)" + id +
                   R"("type": "image", "anchor_x": "MIN_SIDE", "anchor_y": "MIN_SIDE"},)" +
                   R"( "integers": {"alpha": 128}, "points": {"border_min": [4, 4], "design_size": [24, 24]}, "pictures": {"src": )" +
                   picture + "}}";
        default:
            return R"({"strings": {)" + id +
                   R"("type": "text", "anchor_y": "MAX_SIDE", "halign": "RIGHT", "text": "12:3)" +
                   std::to_string(i % 10) +
                   R"("}, "points": {"border_max": [30, 0], "design_size": [0, 12]})" + font + "}";
    }
}

// The source of one named form "form": the root holds a vtable of rows (plain
// nodes and htables in turn), each row holding up to nine children, until the
// tree has shape.elements elements.
std::string form_source(const FormShape& shape) {
    std::string rows;
    int count = 2;  // the root and the vtable
    int serial = 0;
    for (int row = 0; count < shape.elements; ++row) {
        std::string children;
        ++count;
        for (int k = 0; k < 9 && count < shape.elements; ++k, ++count)
            children += (k ? ",\n" : "") + row_child(serial++, shape);
        rows +=
            (row ? ",\n" : "") + std::string(R"({"strings": {"type": ")") +
            (row % 2 ? "htable" : "node") +
            R"("}, "integers": {"table_ratio": 1}, "points": {"design_size": [0, 40]}, "children": [)" +
            children + "]}";
    }
    std::string animation = shape.animation.empty() ? ""
                                                    : R"("strings": {"visibility_animation": ")" +
                                                          shape.animation + R"("}, )";
    return R"({"named": {"form": {)" + animation +
           R"("children": [{"strings": {"type": "vtable"}, "children": [)" + rows + "]}]}}}";
}

bool write_file(const fs::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

}  // namespace

std::u16string write_skin(const fs::path& folder, const std::string& name, const FormShape& shape) {
    std::string error;
    auto source = JsonValue::parse(form_source(shape), &error);
    auto output = source ? skin_compiler::compile(*source, &error) : std::nullopt;
    if (!output) {
        std::fprintf(stderr, "quillmo-bench: generated skin does not compile: %s\n", error.c_str());
        return {};
    }
    fs::create_directories(folder);
    for (int i = 0; i < shape.pictures; ++i) {
        auto pixels = PixelBuffer::create(kPictureSize, kPictureSize);
        for (int32_t y = 0; y < kPictureSize; ++y)
            for (int32_t x = 0; x < kPictureSize; ++x)
                pixels->set_pixel(x, y, static_cast<uint16_t>(i * 1021 + x * 33 + y * 2048));
        if (!write_file(folder / (picture_name(i) + ".bmp"), bmp_565(*pixels))) return {};
    }
    fs::path skin = folder / (name + ".skin");
    if (!write_file(skin, output->bytes)) return {};
    return utf16::from_utf8(skin.string());
}

ScreenInfo screen_96() {
    ScreenInfo screen;
    screen.width = kScreen.width;
    screen.height = kScreen.height;
    screen.pixels_per_inch = 96;
    return screen;
}

}  // namespace generated_skin
