#include "bench/ListBench.h"

#include <cstdio>
#include <filesystem>
#include <string>

#include "bench/BenchClock.h"
#include "bench/GeneratedSkin.h"
#include "draw/RenderSurface.h"
#include "forms/FormPreview.h"
#include "platform/Utf16.h"
#include "skin/Properties.h"
#include "skin/elements/ElementKinds.h"
#include "widgets/WidgetKinds.h"
#include "widgets/list/ListAdapter.h"
#include "widgets/list/RowBuilder.h"
#include "widgets/list/VListElement.h"

namespace {

class BenchRows : public ListAdapter {
public:
    explicit BenchRows(Properties& properties) : properties_(properties) {}
    std::unique_ptr<Element> create_row(VListElement&, int index) override {
        auto row = row_builder::build(properties_, u"test_list_row");
        if (row) row->set_text(u"#text", u"Row " + utf16::from_utf8(std::to_string(index)));
        return row;
    }
    void row_tapped(VListElement&, int) override {}

private:
    Properties& properties_;
};

// The median frame of a list of count rows kept in flight upward.
double fling_frame_us(FormPreview& form, VListElement& list, BenchRows& rows, int count) {
    RenderSurface surface(Size{480, 800});
    auto frame = [&] {
        form.time_step(0.016);
        form.set_x_extent(0, 480);
        form.set_y_extent(0, 800);
        form.draw(surface);
    };
    list.set_adapter(&rows, count);
    frame();
    return bench::median_us(400, frame, [&] {
        if (list.window_size() > 0 && list.window_index(list.window_size() - 1) + 1 >= count) {
            list.scroll_to(0);
            frame();
        }
        if (list.velocity() > -1500) list.fling(-2000);
    });
}

}  // namespace

bool ListBench::run() {
    const std::filesystem::path skin =
        std::filesystem::read_symlink("/proc/self/exe").parent_path() / "skins" / "bin" /
        "test.skin";
    ElementKinds kinds;
    WidgetKinds widget_kinds;
    Properties properties;
    if (!properties.load_skin(utf16::from_utf8(skin.string()), generated_skin::screen_96())) {
        std::fprintf(stderr, "quillmo-bench: the test skin does not load\n");
        return false;
    }
    FormPreview form(properties, u"test_list_vlist");
    auto* list = dynamic_cast<VListElement*>(form.find_element(u"vlist"));
    if (!list) {
        std::fprintf(stderr, "quillmo-bench: the test form has no list\n");
        return false;
    }
    BenchRows rows(properties);
    bench::report("list_fling_frame_us", fling_frame_us(form, *list, rows, 100000), "us");
    bench::report("list_fling_frame_us@100", fling_frame_us(form, *list, rows, 100), "us");
    return true;
}
