#pragma once
// A font ready for measuring and drawing, made from a FontDesc and shared by
// everyone that uses the same description. Its faces are closed when the last
// holder lets go.
//
// Glyphs come from the face that fontconfig matched to the description; a
// character that face lacks comes from the first installed face that has it
// (fontconfig's order), and when no face has it, from the matched face's
// missing-glyph box. Control characters (U+0000..U+001F, U+007F..U+009F) have
// no glyph and no width.
//
// Like all drawing, fonts are used from the user-interface thread only; the
// glyph caches inside are filled lazily from const member functions.
#include <array>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "draw/text/FontDesc.h"
#include "draw/text/GlyphCache.h"

class FontRep {
public:
    // The shared font for desc: an existing one when any holder still keeps a
    // font with an equal description, else a new one. Never null. A size of 0
    // (FontDesc::empty()) gives a font without a face and zero metrics. When
    // no face can be opened the font has no face either and this logs
    // "ERROR: FontRep::FontRep() Failed to create font"; such a font measures
    // every text as zero wide and draws nothing.
    static std::shared_ptr<const FontRep> create(const FontDesc& desc);

    ~FontRep();
    FontRep(const FontRep&) = delete;
    FontRep& operator=(const FontRep&) = delete;

    const FontDesc& desc() const { return desc_; }
    bool has_face() const { return face_ != nullptr; }

    // The em height in pixels the face was opened at (FontSizes::pixel_height).
    int32_t pixel_height() const { return pixel_height_; }
    // Line height (ascent + descent), descent below the baseline, and internal
    // leading (line height - em height), all in pixels.
    int32_t height() const { return height_; }
    int32_t descent() const { return descent_; }
    int32_t ascent() const { return height_ - descent_; }
    int32_t internal_leading() const { return internal_leading_; }
    int32_t underline_offset() const;
    int32_t underline_thickness() const;

    // The glyph drawn for code point cp (see the header comment). The
    // reference stays valid as long as this font.
    const Glyph& glyph(char32_t cp) const;

private:
    explicit FontRep(const FontDesc& desc);
    const Glyph& find_glyph(char32_t cp) const;

    // Code points below this are looked up in a flat table: Latin, Greek and
    // Cyrillic, most of what messages hold.
    static constexpr char32_t kDirectGlyphs = 0x800;

    FontDesc desc_;
    int32_t pixel_height_ = 0;
    int32_t height_ = 0;
    int32_t descent_ = 0;
    int32_t internal_leading_ = 0;
    std::unique_ptr<GlyphCache> face_;
    // Faces that supply characters the main face lacks, opened on demand.
    mutable std::vector<std::pair<FaceLocation, std::unique_ptr<GlyphCache>>> fallbacks_;
    mutable std::unique_ptr<std::array<const Glyph*, kDirectGlyphs>> direct_;
    mutable std::unordered_map<char32_t, const Glyph*> others_;
};
