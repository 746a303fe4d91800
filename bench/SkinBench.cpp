#include "bench/SkinBench.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "bench/BenchClock.h"
#include "bench/BenchFolders.h"
#include "bench/GeneratedSkin.h"
#include "draw/RenderSurface.h"
#include "input/ScreenInfo.h"
#include "platform/Utf16.h"
#include "skin/Properties.h"
#include "skin/elements/Element.h"
#include "skin/elements/ElementKinds.h"
#include "skin/elements/FormRoot.h"

namespace fs = std::filesystem;

namespace {

constexpr int kLoadRuns = 31;
constexpr int kLayoutRuns = 201;
constexpr int kDrawRuns = 101;
// Re-applying clean extents costs about as much as reading the clock, so it is
// timed over a batch of calls.
constexpr int kCleanBatch = 1000;

// Loads path into a fresh Properties for each run (so fonts are created anew),
// and reports the median in milliseconds.
bool report_load(const char* figure, const std::u16string& path) {
    std::unique_ptr<Properties> properties;
    bool loaded = true;
    double us = bench::median_us(
        kLoadRuns,
        [&] { loaded = properties->load_skin(path, generated_skin::screen_96()) && loaded; },
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

    std::u16string plain = generated_skin::write_skin(skins, "load", {300, 40, 0});
    std::u16string with_fonts = generated_skin::write_skin(skins, "load_fonts", {300, 40, 10});
    std::u16string layout = generated_skin::write_skin(skins, "layout", {500, 40, 10});
    std::u16string draw = generated_skin::write_skin(skins, "draw", {200, 40, 10});
    if (plain.empty() || with_fonts.empty() || layout.empty() || draw.empty()) return false;
    if (!report_load("skin_load_ms", plain) || !report_load("skin_load_fonts_ms", with_fonts))
        return false;

    Properties properties;
    if (!properties.load_skin(layout, generated_skin::screen_96())) return false;
    FormRoot root;
    if (!root.load_from_skin(properties, u"form")) return false;
    bench::report("layout_500_elements_us",
                  bench::median_us(
                      kLayoutRuns,
                      [&] {
                          root.set_x_extent(0, generated_skin::kScreen.width);
                          root.set_y_extent(0, generated_skin::kScreen.height);
                      },
                      [&] { invalidate_all(root); }),
                  "us");
    root.set_x_extent(0, generated_skin::kScreen.width);
    root.set_y_extent(0, generated_skin::kScreen.height);
    bench::report("relayout_clean_us",
                  bench::median_us(kLayoutRuns,
                                   [&] {
                                       for (int i = 0; i < kCleanBatch; ++i) {
                                           root.set_x_extent(0, generated_skin::kScreen.width);
                                           root.set_y_extent(0, generated_skin::kScreen.height);
                                       }
                                   }) /
                      kCleanBatch,
                  "us");

    Properties draw_properties;
    if (!draw_properties.load_skin(draw, generated_skin::screen_96())) return false;
    FormRoot form;
    if (!form.load_from_skin(draw_properties, u"form")) return false;
    form.set_x_extent(0, generated_skin::kScreen.width);
    form.set_y_extent(0, generated_skin::kScreen.height);
    RenderSurface screen(generated_skin::kScreen);
    form.draw(screen);  // lays the text out and caches the glyphs, as the first frame does
    bench::report_median_us("draw_form_480x800_us", kDrawRuns, [&] { form.draw(screen); });
    return true;
}
