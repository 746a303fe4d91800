#include "bench/TextBench.h"

#include <cstdio>
#include <string>
#include <vector>

#include "bench/BenchClock.h"
#include "bench/BenchFolders.h"
#include "draw/RenderSurface.h"
#include "draw/text/FontRep.h"
#include "draw/text/TextDraw.h"
#include "draw/text/TextLayout.h"

namespace {

constexpr int kRuns = 2001;

// 160 UTF-16 units, as long as one SMS part in the GSM alphabet.
std::u16string message() {
    std::u16string text =
        u"Hi! \u041f\u0440\u0438\u0432\u0435\u0442, \u043a\u0430\u043a \u0434\u0435\u043b\u0430? "
        u"Meet me at the station at 7, \u0432\u043e\u0437\u044c\u043c\u0438 "
        u"\u0431\u0438\u043b\u0435\u0442\u044b \u0438 \u0437\u043e\u043d\u0442\u0438\u043a, "
        u"it may rain later tonight. \u0414\u043e \u0432\u0441\u0442\u0440\u0435\u0447\u0438! "
        u"See you soon, bye for now and take care";
    text.resize(160, u'.');
    return text;
}

// Ten emoji sequences the colour font shows as one picture each: skin
// tones, joined people, flags (of indicators and of tags), a keycap.
std::u16string sequences() {
    return u"\U0001F44D\U0001F3FD \U0001F468\u200D\U0001F469\u200D\U0001F467 "
           u"\U0001F1E9\U0001F1EA \U0001F1FA\U0001F1E6 1\uFE0F\u20E3 "
           u"\U0001F469\u200D\u2764\uFE0F\u200D\U0001F468 \U0001F44B\U0001F3FB "
           u"\U0001F3F4\U000E0067\U000E0062\U000E0065\U000E006E\U000E0067\U000E007F "
           u"\U0001F469\U0001F3FE\u200D\U0001F4BB \U0001F3F3\uFE0F\u200D\U0001F308";
}

}  // namespace

bool TextBench::run() {
    // Fonts log their creation; the log setting lives in the device folder.
    BenchFolders folders;
    auto font = FontRep::create(FontDesc::application());
    if (!font->has_face()) {
        std::fprintf(stderr, "quillmo-bench: no font for the text figures\n");
        return false;
    }
    std::u16string text = message();
    RenderSurface screen(Size{480, 800});
    TextLayout layout;
    layout.set_font(font);
    layout.set_text(text);
    layout.set_wrap(true);
    layout.set_color(Color{0, 0, 0, 255});
    const Point position{40, 100};
    const Size bubble{300, 200};
    layout.draw(screen, position, bubble);  // renders and caches the glyphs

    bench::report_median_us("text_160_chars_us", kRuns, [&] {
        layout.invalidate();
        layout.draw(screen, position, bubble);
    });
    std::vector<int32_t> extents;
    bench::report_median_us("measure_160_chars_us", kRuns,
                            [&] { TextDraw::measure(*font, text, -1, &extents); });

    const std::u16string emoji = sequences();
    const Size line{440, font->height()};
    TextDraw::measure(*font, emoji, -1, &extents);
    TextDraw::draw(*font, screen, Color{0, 0, 0, 255}, emoji, position, line, 0, 0, false);
    bench::report_median_us("emoji_sequences_us", kRuns, [&] {
        TextDraw::measure(*font, emoji, -1, &extents);
        TextDraw::draw(*font, screen, Color{0, 0, 0, 255}, emoji, position, line, 0, 0, false);
    });
    return true;
}
