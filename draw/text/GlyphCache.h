#pragma once
// One font file opened at one pixel size, with every glyph it has rendered so
// far: its advance and its bitmap. Glyphs are rendered on first use and kept,
// so drawing text that was drawn before allocates nothing.
//
// Outline faces are rendered at the size asked for. Colour faces (emoji)
// usually hold bitmaps at fixed sizes only: their glyphs are rendered at the
// nearest size the face has and scaled to the one asked for, so that an emoji
// is as high as the em of the text around it and measures what it draws.
//
// The face is owned here and closed with the cache. Like all drawing, a cache
// is used from the user-interface thread only.
#include <cstdint>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "draw/text/FontEngine.h"

struct FT_FaceRec_;
struct hb_font_t;

// A rendered glyph. Coordinates are pixels relative to the pen position on the
// baseline: the bitmap's left column is at pen x + left, its top row at
// baseline y - top.
struct Glyph {
    int32_t advance = 0;
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
    // width x height coverage values, row by row: 0 leaves the pixel, 255 is
    // the full text colour. Empty for a colour glyph.
    std::vector<uint8_t> coverage;
    // A colour glyph's own pixels, width x height, row by row, as
    // premultiplied 0xAARRGGBB: drawn as they are, whatever the text colour.
    // Empty for other glyphs.
    std::vector<uint32_t> color;

    // Whether the glyph draws anything at all.
    bool has_pixels() const { return !coverage.empty() || !color.empty(); }
};

class GlyphCache {
public:
    // Opens the face at location with an em height of pixel_height pixels.
    // Null when the file cannot be opened, or is a bitmap face without colour
    // (whose few sizes cannot stand in for any other), or cannot be set to
    // the size.
    static std::unique_ptr<GlyphCache> open(const FaceLocation& location, int32_t pixel_height);
    ~GlyphCache();
    GlyphCache(const GlyphCache&) = delete;
    GlyphCache& operator=(const GlyphCache&) = delete;

    // The face's glyph index for a code point, 0 (the missing-glyph box) when
    // the face has none.
    uint32_t glyph_index(char32_t cp) const;

    // The one glyph the face shows for a whole UTF-16 text (an emoji
    // sequence its substitution tables join into one picture), shaped with
    // HarfBuzz; 0 when the face shows the text as several glyphs or has no
    // glyph for it. Joiners, selectors and tags the face leaves over are not
    // counted, as they draw nothing. Not cached here: callers keep the
    // answer (FontRep).
    uint32_t ligature(std::u16string_view text);

    // The glyph with that index, rendered on first use. The reference stays
    // valid as long as the cache. A glyph that fails to load is kept empty
    // (no advance, no bitmap).
    const Glyph& glyph(uint32_t index);

    // Vertical metrics in whole pixels: ascent above and descent below the
    // baseline (both >= 0), from the face's own ascender and descender.
    int32_t ascent() const { return ascent_; }
    int32_t descent() const { return descent_; }
    // Underline: top row below the baseline and thickness, at least 1.
    int32_t underline_offset() const { return underline_offset_; }
    int32_t underline_thickness() const { return underline_thickness_; }

private:
    // A face's sizes as numerator / denominator: glyphs are loaded at the
    // face's size and multiplied by the ratio, 1 / 1 for outline faces.
    struct Ratio {
        int64_t to = 1;
        int64_t from = 1;
        int32_t apply(int64_t pixels) const;
        int32_t apply_26_6(int64_t value) const;
    };

    GlyphCache(FT_FaceRec_* face, const FaceLocation& location, int32_t pixel_height, Ratio ratio);
    void render(uint32_t index, Glyph& glyph);

    FT_FaceRec_* face_;
    hb_font_t* shaper_ = nullptr;  // made on the first ligature, holds a reference to face_
    bool embolden_;
    bool color_;
    Ratio ratio_;
    int32_t ascent_ = 0;
    int32_t descent_ = 0;
    int32_t underline_offset_ = 1;
    int32_t underline_thickness_ = 1;
    std::unordered_map<uint32_t, Glyph> glyphs_;
};
