#include "draw/text/GlyphCache.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H

#include <algorithm>
#include <cstdlib>

namespace {

// Face units to whole pixels, rounded up, for an em of ppem pixels.
int32_t units_to_pixels_ceil(int64_t units, int64_t ppem, int64_t units_per_em) {
    if (units <= 0 || units_per_em <= 0) return 0;
    return static_cast<int32_t>((units * ppem + units_per_em - 1) / units_per_em);
}

}  // namespace

std::unique_ptr<GlyphCache> GlyphCache::open(const FaceLocation& location, int32_t pixel_height) {
    FT_Library library = FontEngine::instance().library();
    if (library == nullptr) return nullptr;
    FT_Face face = nullptr;
    if (FT_New_Face(library, location.file.c_str(), location.index, &face) != 0) return nullptr;
    // Only outline fonts: a bitmap-only face cannot be drawn at an arbitrary size.
    if (!FT_IS_SCALABLE(face) ||
        FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(std::max(pixel_height, 1))) != 0) {
        FT_Done_Face(face);
        return nullptr;
    }
    return std::unique_ptr<GlyphCache>(new GlyphCache(face, location, pixel_height));
}

GlyphCache::GlyphCache(FT_FaceRec_* face, const FaceLocation& location, int32_t pixel_height)
    : face_(face), embolden_(location.embolden) {
    int64_t ppem = std::max(pixel_height, 1);
    ascent_ = units_to_pixels_ceil(face->ascender, ppem, face->units_per_EM);
    descent_ = units_to_pixels_ceil(-int64_t{face->descender}, ppem, face->units_per_EM);
    // underline_position is the centre of the line, negative below the baseline.
    int32_t thickness = units_to_pixels_ceil(face->underline_thickness, ppem, face->units_per_EM);
    underline_thickness_ = std::max(thickness, 1);
    int32_t centre =
        units_to_pixels_ceil(-int64_t{face->underline_position}, ppem, face->units_per_EM);
    underline_offset_ = std::max(centre - underline_thickness_ / 2, 1);
    if (location.slant) {
        // The same shear FreeType's own oblique synthesis uses (about 12 degrees).
        FT_Matrix shear = {0x10000, 0x0366A, 0, 0x10000};
        FT_Set_Transform(face_, &shear, nullptr);
    }
}

GlyphCache::~GlyphCache() { FT_Done_Face(face_); }

uint32_t GlyphCache::glyph_index(char32_t cp) const { return FT_Get_Char_Index(face_, cp); }

const Glyph& GlyphCache::glyph(uint32_t index) {
    auto [it, inserted] = glyphs_.try_emplace(index);
    if (inserted) render(index, it->second);
    return it->second;
}

void GlyphCache::render(uint32_t index, Glyph& glyph) {
    if (FT_Load_Glyph(face_, index, FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP) != 0) return;
    FT_GlyphSlot slot = face_->glyph;
    if (embolden_) FT_GlyphSlot_Embolden(slot);
    // Never negative: measuring relies on widths that only grow along a text.
    glyph.advance = std::max<int32_t>(static_cast<int32_t>((slot->advance.x + 32) >> 6), 0);
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return;
    const FT_Bitmap& bitmap = slot->bitmap;
    bool gray = bitmap.pixel_mode == FT_PIXEL_MODE_GRAY;
    bool mono = bitmap.pixel_mode == FT_PIXEL_MODE_MONO;
    if ((!gray && !mono) || bitmap.width == 0 || bitmap.rows == 0 || bitmap.buffer == nullptr)
        return;
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.width = static_cast<int32_t>(bitmap.width);
    glyph.height = static_cast<int32_t>(bitmap.rows);
    glyph.coverage.resize(static_cast<size_t>(glyph.width) * glyph.height);
    int32_t levels = gray ? std::max<int32_t>(bitmap.num_grays - 1, 1) : 1;
    for (int32_t y = 0; y < glyph.height; ++y) {
        // A negative pitch stores the rows bottom-up from the start of the buffer.
        ptrdiff_t row = bitmap.pitch >= 0 ? y : glyph.height - 1 - y;
        const uint8_t* src = bitmap.buffer + row * std::abs(bitmap.pitch);
        uint8_t* dst = glyph.coverage.data() + static_cast<size_t>(y) * glyph.width;
        for (int32_t x = 0; x < glyph.width; ++x) {
            int32_t value = gray ? src[x] : (src[x >> 3] >> (7 - (x & 7))) & 1;
            dst[x] = static_cast<uint8_t>(value * 255 / levels);
        }
    }
}
