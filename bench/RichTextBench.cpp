#include "bench/RichTextBench.h"

#include <cstdio>
#include <filesystem>
#include <string>

#include "bench/BenchClock.h"
#include "bench/BenchFolders.h"
#include "draw/text/FontRep.h"
#include "widgets/richtext/RichScanner.h"
#include "widgets/richtext/RichTextElement.h"
#include "widgets/richtext/SmileyTable.h"

namespace {

constexpr int kRuns = 1001;

// 160 UTF-16 units: two links, three smileys, Latin and Cyrillic.
std::u16string message() {
    std::u16string text =
        u"Hi :) \u043f\u0440\u0438\u0432\u0435\u0442! Look at www.example.com/photos, "
        u"\u0431\u0438\u043b\u0435\u0442\u044b on https://tickets.example.org ;) "
        u"call me after 7, \u0434\u043e \u0432\u0441\u0442\u0440\u0435\u0447\u0438 :-) bye";
    text.resize(160, u'.');
    return text;
}

}  // namespace

bool RichTextBench::run() {
    BenchFolders folders;
    const auto smiles = std::filesystem::path(program_dir_) / "smiles";
    SmileyTable table((smiles / "names.txt").u16string(), (smiles / "bin/").u16string());
    auto font = FontRep::create(FontDesc::application());
    if (!font->has_face() || table.size() == 0) {
        std::fprintf(stderr, "quillmo-bench: no font or no smileys for the rich text figures\n");
        return false;
    }
    const std::u16string text = message();
    RichTextElement element;
    element.set_wrap(true);
    element.set_halign(RichTextElement::LEFT);
    auto lay_out = [&] {
        element.set_text(text, &table, font, font, {0, 0, 0, 255}, {0, 0, 255, 255}, nullptr);
        element.set_x_extent(0, 300);
        element.set_y_extent(0, 200);
    };
    lay_out();  // loads the smileys and caches the glyphs
    bench::report_median_us("richtext_layout_160_us", kRuns, lay_out);

    std::u16string big;
    while (big.size() < 512 * 1024) big += text + u"\n+7 (912) 345-67-89 ";
    big.resize(512 * 1024);  // 1 MB of UTF-16
    size_t tokens = 0;
    bench::report_median_us("scan_1mb_us", 11,
                            [&] { tokens += RichScanner::scan(big, &table).size(); });
    return tokens > 0;
}
