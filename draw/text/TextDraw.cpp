#include "draw/text/TextDraw.h"

#include <algorithm>
#include <limits>
#include <memory>

#include "draw/PixelOps.h"
#include "draw/Rect.h"
#include "draw/RenderSurface.h"
#include "draw/text/CodePoints.h"
#include "draw/text/EmojiSequence.h"
#include "draw/text/FontRep.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool is_high(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool is_low(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Calls f(glyph, index of its first unit, units) for every picture of text
// in turn: a character (a surrogate pair is one, an unpaired surrogate is
// U+FFFD; one followed by U+FE0F asks to be an emoji), or an emoji sequence
// the font shows as one picture. A sequence without one is shown as its
// characters, and no shorter sequence is looked for inside it, so every
// unit is searched at most once.
template <typename F>
void for_each_picture(const FontRep& font, std::u16string_view text, F&& f) {
    size_t n = text.size();
    size_t parts_end = 0;
    for (size_t i = 0; i < n;) {
        char16_t c = text[i];
        char32_t cp = (is_high(c) || is_low(c)) ? kReplacement : char32_t{c};
        size_t units = 1;
        if (is_high(c) && i + 1 < n && is_low(text[i + 1])) {
            cp = 0x10000 + ((char32_t{c} - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            units = 2;
        }
        if (i + units < n && EmojiSequence::may_continue(text[i + units]) && i >= parts_end) {
            if (size_t length = EmojiSequence::length_at(text, i)) {
                if (const Glyph* picture = font.sequence_glyph(text.substr(i, length))) {
                    f(*picture, i, length);
                    i += length;
                    continue;
                }
                parts_end = i + length;
            }
        }
        bool emoji = i + units < n && text[i + units] == CodePoints::kEmojiSelector;
        f(font.glyph(cp, emoji ? Presentation::Emoji : Presentation::Default), i, units);
        i += units;
    }
}

// Widths add up in 64 bits and are reported saturated, so that no text,
// however long, can wrap a width around to a negative value.
int32_t saturate(int64_t value) {
    return static_cast<int32_t>(std::min<int64_t>(value, std::numeric_limits<int32_t>::max()));
}

int32_t text_width(const FontRep& font, std::u16string_view text) {
    int64_t x = 0;
    for_each_picture(font, text, [&](const Glyph& glyph, size_t, size_t) { x += glyph.advance; });
    return saturate(x);
}

// Copies the scratch back: a destination pixel takes the scratch pixel, and
// when that differs from what the destination held it is marked opaque.
class MarkingOp final : public PixelOp {
public:
    void row(uint16_t* begin, uint16_t* end, const uint16_t* src, int32_t, int32_t) const override {
        if (src == nullptr) return;
        mark(begin, src, end - begin);
    }
    std::unique_ptr<PixelOp> clone() const override { return std::make_unique<MarkingOp>(); }

private:
    // Branch-free, so the compiler can do many pixels at a time; the scratch
    // and the surface never overlap.
    static void mark(uint16_t* __restrict d, const uint16_t* __restrict s, ptrdiff_t n) {
        for (ptrdiff_t i = 0; i < n; ++i) {
            const uint16_t was = d[i];
            const uint16_t now = s[i];
            d[i] = now == was ? was : static_cast<uint16_t>(now | rgb565::kOpaqueFlag);
        }
    }
};

// The text colour's channels, for blending glyph coverage over RGB565.
struct Ink {
    explicit Ink(Color color) : r(color.red >> 3), g(color.green >> 2), b(color.blue >> 3) {}
    uint32_t r, g, b;

    // d mixed with the ink by coverage a (0..255), rounded per channel.
    uint16_t over(uint16_t d, uint32_t a) const {
        uint32_t na = 255 - a;
        uint32_t dr = d >> 11, dg = (d >> 5) & 0x3F, db = d & 0x1F;
        uint32_t nr = (r * a + dr * na + 127) / 255;
        uint32_t ng = (g * a + dg * na + 127) / 255;
        uint32_t nb = (b * a + db * na + 127) / 255;
        return static_cast<uint16_t>((nr << 11) | (ng << 5) | nb);
    }
    uint16_t solid() const { return static_cast<uint16_t>((r << 11) | (g << 5) | b); }
};

// One 5- or 6-bit channel widened to 8 bits by repeating its top bits, as
// pictures are written out: 0x1F becomes 0xFF.
uint32_t widen5(uint32_t c) { return c << 3 | c >> 2; }
uint32_t widen6(uint32_t c) { return c << 2 | c >> 4; }

// d under a premultiplied 0xAARRGGBB pixel s: s + d * (1 - alpha), in 8-bit
// channels, packed back as Color::to_565 packs.
uint16_t color_over(uint16_t d, uint32_t s) {
    uint32_t a = s >> 24;
    uint32_t sr = (s >> 16) & 0xFF, sg = (s >> 8) & 0xFF, sb = s & 0xFF;
    if (a != 255) {
        uint32_t na = 255 - a;
        sr += (widen5(d >> 11) * na + 127) / 255;
        sg += (widen6((d >> 5) & 0x3F) * na + 127) / 255;
        sb += (widen5(d & 0x1F) * na + 127) / 255;
    }
    return static_cast<uint16_t>(((sr & 0xF8) << 8) | ((sg & 0xFC) << 3) | (sb >> 3));
}

// Blends one glyph into buffer with its pen at (pen_x, baseline), both in the
// buffer's coordinates, cut to the first `visible` pixels of the buffer.
// Coverage glyphs take the ink; colour glyphs keep their own colours.
void blend_glyph(PixelBuffer& buffer, Size visible, const Glyph& glyph, int64_t pen_x,
                 int64_t baseline, const Ink& ink) {
    if (!glyph.has_pixels()) return;
    int64_t gx = pen_x + glyph.left;
    int64_t gy = baseline - glyph.top;
    int64_t x0 = std::max<int64_t>(gx, 0), x1 = std::min<int64_t>(gx + glyph.width, visible.width);
    int64_t y0 = std::max<int64_t>(gy, 0),
            y1 = std::min<int64_t>(gy + glyph.height, visible.height);
    if (!glyph.color.empty()) {
        for (int64_t y = y0; y < y1; ++y) {
            const uint32_t* pixels = glyph.color.data() + (y - gy) * glyph.width - gx;
            uint16_t* row = buffer.row(static_cast<int32_t>(y));
            for (int64_t x = x0; x < x1; ++x)
                if (pixels[x] >> 24) row[x] = color_over(row[x], pixels[x]);
        }
        return;
    }
    for (int64_t y = y0; y < y1; ++y) {
        const uint8_t* cover = glyph.coverage.data() + (y - gy) * glyph.width - gx;
        uint16_t* row = buffer.row(static_cast<int32_t>(y));
        for (int64_t x = x0; x < x1; ++x) {
            uint32_t a = cover[x];
            if (a == 0) continue;
            row[x] = a == 255 ? ink.solid() : ink.over(row[x], a);
        }
    }
}

// The process-wide scratch surface. It lives until the process ends.
RenderSurface& scratch_surface() {
    static RenderSurface scratch;
    return scratch;
}

int64_t align_offset(int align, int64_t room, int64_t used) {
    if (align == 1) return (room - used) / 2;
    if (align == 2) return room - used;
    return 0;
}

}  // namespace

TextExtent TextDraw::measure(const FontRep& font, std::u16string_view text, int32_t max_width,
                             std::vector<int32_t>* extents) {
    TextExtent result;
    result.height = font.height();
    if (extents) extents->resize(text.size());
    int64_t x = 0;
    size_t fit = 0;
    bool full = false;
    for_each_picture(font, text, [&](const Glyph& glyph, size_t i, size_t units) {
        x += glyph.advance;
        int32_t extent = saturate(x);
        if (extents) {
            (*extents)[i] = extent;
            for (size_t k = 1; k < units; ++k) (*extents)[i + k] = extent;
        }
        // Advances are never negative, so once a character overflows, every
        // later one does too.
        if (!full && (max_width < 0 || extent <= max_width))
            fit = i + units;
        else
            full = true;
    });
    result.width = saturate(x);
    result.fit = saturate(static_cast<int64_t>(fit));
    return result;
}

size_t TextDraw::ellipsis_length(const FontRep& font, std::u16string_view text, int32_t width) {
    if (text_width(font, text) <= width) return text.size();
    return length_before_ellipsis(font, text, width);
}

size_t TextDraw::length_before_ellipsis(const FontRep& font, std::u16string_view text,
                                        int32_t width) {
    int64_t room = int64_t{width} - font.glyph(kEllipsis).advance;
    int64_t x = 0;
    size_t keep = 0;
    bool done = false;
    // A selector after a character that fits has no width and stays with it,
    // so the character keeps the look it was measured with; a sequence shown
    // as one picture is kept or dropped whole.
    for_each_picture(font, text, [&](const Glyph& glyph, size_t i, size_t units) {
        if (done) return;
        x += glyph.advance;
        if (x > room)
            done = true;
        else
            keep = i + units;
    });
    while (keep > 0 && text[keep - 1] <= u' ') --keep;
    return keep;
}

void TextDraw::draw(const FontRep& font, RenderSurface& surface, Color color,
                    std::u16string_view text, Point position, Size size, int halign, int valign,
                    bool ellipsis) {
    PixelBuffer* target = surface.buffer();
    if (text.empty() || target == nullptr || !font.has_face()) return;

    // Only the part of the rectangle inside the clip can change; the text is
    // still placed in the whole rectangle, so a cut text is cut, not shifted.
    Rect clip = surface.clip();
    int64_t left = std::max<int64_t>(position.x, clip.left);
    int64_t top = std::max<int64_t>(position.y, clip.top);
    int64_t right = std::min<int64_t>(int64_t{position.x} + size.width, clip.right);
    int64_t bottom = std::min<int64_t>(int64_t{position.y} + size.height, clip.bottom);
    if (right <= left || bottom <= top) return;

    std::u16string_view shown = text;
    bool cut = false;
    if (ellipsis) {
        size_t keep = ellipsis_length(font, text, size.width);
        cut = keep < text.size();
        shown = text.substr(0, keep);
    }
    bool underline = font.desc().underline;
    int64_t width = 0;
    if (halign == kCentre || halign == kRight || underline || cut)
        width = int64_t{text_width(font, shown)} + (cut ? font.glyph(kEllipsis).advance : 0);

    // Pen and baseline in surface coordinates. Glyphs may reach left of their
    // pen by a little, never by a whole em, so none past `stop` is drawn.
    const int64_t pen_start = int64_t{position.x} + align_offset(halign, size.width, width);
    const int64_t baseline =
        int64_t{position.y} + align_offset(valign, size.height, font.height()) + font.ascent();
    const int64_t stop = right + font.pixel_height();
    auto for_each_glyph = [&](auto&& use) {
        int64_t pen = pen_start;
        auto one = [&](const Glyph& glyph) {
            if (pen > stop) return;
            use(glyph, pen);
            pen += glyph.advance;
        };
        for_each_picture(font, shown, [&](const Glyph& glyph, size_t, size_t) { one(glyph); });
        if (cut) one(font.glyph(kEllipsis));
    };

    // Only the box the glyphs (and the underline) cover is composed: outside
    // it nothing changes, and a short text in a wide element costs little.
    int64_t box_left = right, box_top = bottom, box_right = left, box_bottom = top;
    auto cover = [&](int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
        box_left = std::min(box_left, x0);
        box_top = std::min(box_top, y0);
        box_right = std::max(box_right, x1);
        box_bottom = std::max(box_bottom, y1);
    };
    for_each_glyph([&](const Glyph& glyph, int64_t pen) {
        if (!glyph.has_pixels()) return;
        int64_t gx = pen + glyph.left, gy = baseline - glyph.top;
        cover(gx, gy, gx + glyph.width, gy + glyph.height);
    });
    const int64_t underline_top = baseline + font.underline_offset();
    if (underline)
        cover(pen_start, underline_top, pen_start + width,
              underline_top + font.underline_thickness());
    left = std::max(left, box_left);
    top = std::max(top, box_top);
    right = std::min(right, box_right);
    bottom = std::min(bottom, box_bottom);
    if (right <= left || bottom <= top) return;
    Size visible{static_cast<int32_t>(right - left), static_cast<int32_t>(bottom - top)};
    Point origin{static_cast<int32_t>(left), static_cast<int32_t>(top)};

    RenderSurface& scratch = scratch_surface();
    Size have = scratch.size();
    if (have.width < visible.width || have.height < visible.height) {
        scratch.recreate(
            {std::max(have.width, visible.width), std::max(have.height, visible.height)});
        have = scratch.size();
        if (scratch.buffer() == nullptr || have.width < visible.width ||
            have.height < visible.height)
            return;
    }
    PixelBuffer& pixels = *scratch.buffer();
    scratch.blit({0, 0}, visible, *target, origin, pixel_ops::copy());

    Ink ink(color);
    for_each_glyph([&](const Glyph& glyph, int64_t pen) {
        blend_glyph(pixels, visible, glyph, pen - left, baseline - top, ink);
    });

    if (underline) {
        int64_t x0 = std::max<int64_t>(pen_start - left, 0);
        int64_t x1 = std::min<int64_t>(pen_start + width - left, visible.width);
        int64_t y0 = std::max<int64_t>(underline_top - top, 0);
        int64_t y1 =
            std::min<int64_t>(underline_top + font.underline_thickness() - top, visible.height);
        for (int64_t y = y0; y < y1; ++y) {
            uint16_t* row = pixels.row(static_cast<int32_t>(y));
            for (int64_t x = x0; x < x1; ++x) row[x] = ink.solid();
        }
    }

    static const MarkingOp marking;
    surface.blit(origin, visible, pixels, {0, 0}, marking);
}
