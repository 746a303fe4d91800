#pragma once
// Breaking text into lines, and the layout of the skin's text element: its
// text cut into lines (with "wrap"), aligned in the element's rectangle, with
// an ellipsis where it does not fit (with "ellipsis").
//
// The layout is cached: it is worked out on the first draw and again only
// after the text, the font or (when wrapping) the width changed.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "draw/Color.h"
#include "draw/Point.h"
#include "draw/Size.h"

class FontRep;
class RenderSurface;

// One line of a text: its first UTF-16 unit and its length in units.
struct TextLine {
    int32_t start = 0;
    int32_t length = 0;

    friend bool operator==(const TextLine&, const TextLine&) = default;
};

class TextLayout {
public:
    // Breaks text into lines no wider than width, given the cumulative extents
    // of TextDraw::measure. The first line is indent pixels narrower.
    //
    // Lines break at spaces, tabs, other control characters and U+200B
    // (zero-width space): a word that does not fit on the current line moves
    // to the next one, and the break character before it belongs to neither
    // line. A word wider than width on its own is broken after the last
    // character that fits, but never before a unit that adds no width (the
    // second unit of a surrogate pair, the rest of an emoji sequence drawn as
    // one picture, a selector or combining mark). A line feed always ends a
    // line and belongs to neither; a text ending in one has a last, empty
    // line. A character wider than width stays on a line of its own.
    // When the first word does not fit after the indent, the first line is
    // empty. Always at least one line. Linear in the length of the text;
    // extents shorter than the text are read as if their last entry repeated.
    static std::vector<TextLine> wrap(std::u16string_view text, int32_t width,
                                      std::span<const int32_t> extents, int32_t indent);

    // The element's settings. Changing the text or the font drops the layout.
    void set_text(std::u16string_view text);
    void set_font(std::shared_ptr<const FontRep> font);
    void set_color(Color color) { color_ = color; }
    // Alignments as TextDraw takes them: 0 left/top, 1 centre, 2 right/bottom.
    void set_alignment(int halign, int valign) {
        halign_ = halign;
        valign_ = valign;
    }
    void set_wrap(bool wrap);
    void set_ellipsis(bool ellipsis) { ellipsis_ = ellipsis; }
    // Drops the layout, so the next draw works it out again.
    void invalidate();

    const std::u16string& text() const { return text_; }

    // Works the layout out for an element width unless it is still valid.
    void layout(int32_t width);

    // Draws the text in the element's rectangle. Lines are stacked one font
    // height apart and the block is aligned vertically in the rectangle; each
    // line is drawn with the horizontal alignment and, with "ellipsis", cut
    // with an ellipsis when too long. Drawing stops at the first line that
    // starts at or below the bottom. With both "wrap" and "ellipsis", the
    // lines that would not fit entirely are left out and the last line shown
    // ends in an ellipsis right after its text, shortened to make room for
    // it; when not even the first line fits, the ellipsis alone is drawn at
    // the bottom of the rectangle.
    void draw(RenderSurface& surface, Point position, Size size);

    // The lines, and the measure of the whole text on one line ((-1, -1)
    // until laid out).
    const std::vector<TextLine>& lines() const { return lines_; }
    Size measured() const { return measured_; }

private:
    std::u16string text_;
    std::shared_ptr<const FontRep> font_;
    Color color_{0, 0, 0, 255};
    int halign_ = 0;
    int valign_ = 0;
    bool wrap_ = false;
    bool ellipsis_ = false;

    std::vector<TextLine> lines_;
    std::vector<int32_t> extents_;
    // The last line shown when the text goes on below it, with its ellipsis;
    // kept so that drawing it again allocates nothing.
    std::u16string cut_line_;
    Size measured_{-1, -1};
    int32_t laid_out_width_ = 0;
};
