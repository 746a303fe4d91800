#pragma once
// Measuring text and drawing one line of it onto a RenderSurface.
//
// Text is UTF-16. A surrogate pair is one character drawn as one glyph; an
// unpaired surrogate is drawn as U+FFFD. Control characters and invisible
// format characters draw nothing and take no width; a character followed by
// U+FE0F is drawn as an emoji (FontRep). An emoji sequence (EmojiSequence)
// the font has one picture for is drawn, measured and cut as that one
// picture; other text is drawn a character at a time. Glyph advances are
// whole pixels and there is no kerning, so a text's width is the sum of its
// pictures' widths and measuring agrees with drawing exactly.
//
// Drawing goes through one process-wide scratch surface: the covered pixels
// are copied into it, the text is blended into it (grey-scale antialiasing in
// the text colour; colour glyphs in their own colours, by their alpha), and
// it is copied back with the marking op, which gives every pixel the text
// changed the opacity flag 0x0020. The shade ops then treat text as opaque
// while the pixels around it keep whatever they were. The scratch surface only
// grows, and glyphs are cached in their font, so drawing text that was drawn
// before allocates nothing.
#include <cstdint>
#include <string_view>
#include <vector>

#include "draw/Color.h"
#include "draw/Point.h"
#include "draw/Size.h"

class FontRep;
class RenderSurface;

// The result of measuring: width of the whole text, the font's line height
// (whatever the text), and how many UTF-16 units from the start fit in the
// width limit (all of them without a limit).
struct TextExtent {
    int32_t width = 0;
    int32_t height = 0;
    int32_t fit = 0;

    friend bool operator==(const TextExtent&, const TextExtent&) = default;
};

class TextDraw {
public:
    // Horizontal alignments: 0 left, 1 centre, 2 right. Vertical alignments:
    // 0 top, 1 centre, 2 bottom. Other values are taken as 0.
    static constexpr int kLeft = 0;
    static constexpr int kCentre = 1;
    static constexpr int kRight = 2;
    static constexpr int kTop = 0;
    static constexpr int kMiddle = 1;
    static constexpr int kBottom = 2;

    // The horizontal ellipsis that marks cut text.
    static constexpr char16_t kEllipsis = u'\u2026';

    // Measures text. max_width < 0 means no limit. When extents is given it is
    // resized to text.size() and entry i receives the width of text[0..i]
    // inclusive; all units of one picture (a surrogate pair, an emoji
    // sequence shown as one) get the same entry, which TextLayout::wrap
    // reads as a place not to break. An empty text measures (0, font height).
    static TextExtent measure(const FontRep& font, std::u16string_view text, int32_t max_width = -1,
                              std::vector<int32_t>* extents = nullptr);

    // How many UTF-16 units of text to keep in front of the ellipsis so that
    // both fit in width: text.size() when the whole text fits without one.
    // Spaces in front of the ellipsis are dropped; a surrogate pair or an
    // emoji sequence shown as one picture is never split.
    static size_t ellipsis_length(const FontRep& font, std::u16string_view text, int32_t width);

    // How many UTF-16 units of text to keep in front of an ellipsis that is
    // drawn in any case (the text goes on elsewhere), so that both fit in
    // width: the whole text when that leaves room for it. Spaces in front of
    // the ellipsis are dropped; a surrogate pair or an emoji sequence shown as
    // one picture is never split.
    static size_t length_before_ellipsis(const FontRep& font, std::u16string_view text,
                                         int32_t width);

    // Draws text as one line in the rectangle position..position+size, aligned
    // inside it, in colour; with ellipsis, text wider than the rectangle is cut
    // and ends in the ellipsis. Only pixels inside both the rectangle and the
    // surface's clip change. Does nothing for an empty text, a surface without
    // a buffer or a font without a face.
    static void draw(const FontRep& font, RenderSurface& surface, Color color,
                     std::u16string_view text, Point position, Size size, int halign, int valign,
                     bool ellipsis);
};
