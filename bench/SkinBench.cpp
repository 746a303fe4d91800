#include "bench/SkinBench.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "bench/BenchClock.h"
#include "bench/BenchFolders.h"
#include "draw/PixelBuffer.h"
#include "draw/RenderSurface.h"
#include "input/ScreenInfo.h"
#include "platform/Utf16.h"
#include "skin/Properties.h"
#include "skin/elements/Element.h"
#include "skin/elements/ElementKinds.h"
#include "skin/elements/FormRoot.h"
#include "tools/skinc/BmpWriter.h"
#include "tools/skinc/JsonValue.h"
#include "tools/skinc/SkinCompiler.h"

namespace fs = std::filesystem;

namespace {

constexpr int kLoadRuns = 31;
constexpr int kLayoutRuns = 201;
constexpr int kDrawRuns = 101;
// Re-applying clean extents costs about as much as reading the clock, so it is
// timed over a batch of calls.
constexpr int kCleanBatch = 1000;
constexpr Size kScreen{480, 800};
constexpr int kPictureSize = 32;

struct FormShape {
    int elements = 0;  // the root included
    int pictures = 0;
    int fonts = 0;
};

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
    return R"({"named": {"form": {"children": [{"strings": {"type": "vtable"}, "children": [)" +
           rows + "]}]}}}";
}

bool write_file(const fs::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

// Compiles the form into folder/name.skin with its pictures beside it; the
// path of the skin, or "" after printing why not.
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

// Loads path into a fresh Properties for each run (so fonts are created anew),
// and reports the median in milliseconds.
bool report_load(const char* figure, const std::u16string& path) {
    std::unique_ptr<Properties> properties;
    bool loaded = true;
    double us = bench::median_us(
        kLoadRuns, [&] { loaded = properties->load_skin(path, screen_96()) && loaded; },
        [&] {
            properties.reset();
            properties = std::make_unique<Properties>();
        });
    if (!loaded) {
        std::fprintf(stderr, "quillmo-bench: the generated skin does not load\n");
        return false;
    }
    bench::report(figure, us / 1000, "ms");
    return true;
}

// Drops every measure in the tree (each leaf invalidates its whole chain).
void invalidate_all(Element& e) {
    if (e.child_count() == 0) e.invalidate_layout();
    for (size_t i = 0; i < e.child_count(); ++i) invalidate_all(*e.child(i));
}

}  // namespace

bool SkinBench::run() {
    // Fonts and skins log only when the device folder's registry says so.
    BenchFolders folders;
    ElementKinds kinds;
    fs::path skins = folders.cache().parent_path() / "skins" / "bin";

    std::u16string plain = write_skin(skins, "load", {300, 40, 0});
    std::u16string with_fonts = write_skin(skins, "load_fonts", {300, 40, 10});
    std::u16string layout = write_skin(skins, "layout", {500, 40, 10});
    std::u16string draw = write_skin(skins, "draw", {200, 40, 10});
    if (plain.empty() || with_fonts.empty() || layout.empty() || draw.empty()) return false;
    if (!report_load("skin_load_ms", plain) || !report_load("skin_load_fonts_ms", with_fonts))
        return false;

    Properties properties;
    if (!properties.load_skin(layout, screen_96())) return false;
    FormRoot root;
    if (!root.load_from_skin(properties, u"form")) return false;
    bench::report("layout_500_elements_us",
                  bench::median_us(
                      kLayoutRuns,
                      [&] {
                          root.set_x_extent(0, kScreen.width);
                          root.set_y_extent(0, kScreen.height);
                      },
                      [&] { invalidate_all(root); }),
                  "us");
    root.set_x_extent(0, kScreen.width);
    root.set_y_extent(0, kScreen.height);
    bench::report("relayout_clean_us",
                  bench::median_us(kLayoutRuns,
                                   [&] {
                                       for (int i = 0; i < kCleanBatch; ++i) {
                                           root.set_x_extent(0, kScreen.width);
                                           root.set_y_extent(0, kScreen.height);
                                       }
                                   }) /
                      kCleanBatch,
                  "us");

    Properties draw_properties;
    if (!draw_properties.load_skin(draw, screen_96())) return false;
    FormRoot form;
    if (!form.load_from_skin(draw_properties, u"form")) return false;
    form.set_x_extent(0, kScreen.width);
    form.set_y_extent(0, kScreen.height);
    RenderSurface screen(kScreen);
    form.draw(screen);  // lays the text out and caches the glyphs, as the first frame does
    bench::report_median_us("draw_form_480x800_us", kDrawRuns, [&] { form.draw(screen); });
    return true;
}
