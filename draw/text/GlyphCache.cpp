#include "draw/text/GlyphCache.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include <hb-ft.h>
#include <hb.h>

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "draw/text/AreaScaler.h"

namespace {

// Face units to whole pixels, rounded up, for an em of ppem pixels.
int32_t units_to_pixels_ceil(int64_t units, int64_t ppem, int64_t units_per_em) {
    if (units <= 0 || units_per_em <= 0) return 0;
    return static_cast<int32_t>((units * ppem + units_per_em - 1) / units_per_em);
}

// num / den rounded to the nearest whole number, halves up; den > 0.
int64_t round_div(int64_t num, int64_t den) {
    int64_t twice = 2 * num + den;
    int64_t d = 2 * den;
    return twice >= 0 ? twice / d : -((-twice + d - 1) / d);
}

// The fixed size to render a bitmap face's glyphs at for an em of
// pixel_height: the smallest one at least that large, since scaling down
// keeps detail that scaling up has to invent; else the largest.
int best_fixed_size(FT_Face face, int32_t pixel_height) {
    int best = -1;
    for (int i = 0; i < face->num_fixed_sizes; ++i) {
        FT_Pos ppem = face->available_sizes[i].y_ppem;
        if (ppem <= 0) continue;
        if (best < 0) {
            best = i;
            continue;
        }
        FT_Pos have = face->available_sizes[best].y_ppem;
        FT_Pos want = FT_Pos{pixel_height} << 6;
        bool fits = ppem >= want, had_fit = have >= want;
        if ((fits && (!had_fit || ppem < have)) || (!fits && !had_fit && ppem > have)) best = i;
    }
    return best;
}

}  // namespace

int32_t GlyphCache::Ratio::apply(int64_t pixels) const {
    return static_cast<int32_t>(round_div(pixels * to, from));
}

int32_t GlyphCache::Ratio::apply_26_6(int64_t value) const {
    return static_cast<int32_t>(round_div(value * to, from * 64));
}

std::unique_ptr<GlyphCache> GlyphCache::open(const FaceLocation& location, int32_t pixel_height) {
    FT_Library library = FontEngine::instance().library();
    if (library == nullptr) return nullptr;
    FT_Face face = nullptr;
    if (FT_New_Face(library, location.file.c_str(), location.index, &face) != 0) return nullptr;
    pixel_height = std::max(pixel_height, 1);
    Ratio ratio;
    bool usable = false;
    if (FT_IS_SCALABLE(face)) {
        usable = FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixel_height)) == 0;
    } else if (FT_HAS_COLOR(face)) {
        // Colour bitmaps are scaled to the size; bitmap faces without colour
        // are refused, as their glyphs would only be blurred or blocky.
        int size = best_fixed_size(face, pixel_height);
        if (size >= 0 && FT_Select_Size(face, size) == 0) {
            ratio = {pixel_height,
                     std::max<int64_t>((face->available_sizes[size].y_ppem + 32) >> 6, 1)};
            usable = true;
        }
    }
    if (!usable) {
        FT_Done_Face(face);
        return nullptr;
    }
    return std::unique_ptr<GlyphCache>(new GlyphCache(face, location, pixel_height, ratio));
}

GlyphCache::GlyphCache(FT_FaceRec_* face, const FaceLocation& location, int32_t pixel_height,
                       Ratio ratio)
    : face_(face), embolden_(location.embolden), color_(FT_HAS_COLOR(face)), ratio_(ratio) {
    int64_t ppem = pixel_height;
    if (FT_IS_SCALABLE(face)) {
        ascent_ = units_to_pixels_ceil(face->ascender, ppem, face->units_per_EM);
        descent_ = units_to_pixels_ceil(-int64_t{face->descender}, ppem, face->units_per_EM);
        // underline_position is the centre of the line, negative below the baseline.
        int32_t thickness =
            units_to_pixels_ceil(face->underline_thickness, ppem, face->units_per_EM);
        underline_thickness_ = std::max(thickness, 1);
        int32_t centre =
            units_to_pixels_ceil(-int64_t{face->underline_position}, ppem, face->units_per_EM);
        underline_offset_ = std::max(centre - underline_thickness_ / 2, 1);
    } else {
        // A bitmap face has its metrics only at its fixed size, in 26.6 pixels.
        ascent_ = std::max(ratio_.apply_26_6(face->size->metrics.ascender), 0);
        descent_ = std::max(ratio_.apply_26_6(-face->size->metrics.descender), 0);
        underline_thickness_ = std::max(pixel_height / 14, 1);
        underline_offset_ = std::max(descent_ / 2, 1);
    }
    if (location.slant && FT_IS_SCALABLE(face)) {
        // The same shear FreeType's own oblique synthesis uses (about 12 degrees).
        FT_Matrix shear = {0x10000, 0x0366A, 0, 0x10000};
        FT_Set_Transform(face_, &shear, nullptr);
    }
}

GlyphCache::~GlyphCache() {
    if (shaper_) hb_font_destroy(shaper_);
    FT_Done_Face(face_);
}

uint32_t GlyphCache::glyph_index(char32_t cp) const { return FT_Get_Char_Index(face_, cp); }

uint32_t GlyphCache::ligature(std::u16string_view text) {
    if (text.empty() || text.size() > static_cast<size_t>(std::numeric_limits<int>::max()))
        return 0;
    if (shaper_ == nullptr) shaper_ = hb_ft_font_create_referenced(face_);
    hb_buffer_t* buffer = hb_buffer_create();
    int length = static_cast<int>(text.size());
    hb_buffer_add_utf16(buffer, reinterpret_cast<const uint16_t*>(text.data()), length, 0, length);
    // Invisible characters the font did not join in leave no glyph behind,
    // so a flag of tags without a picture of its own counts as its base.
    hb_buffer_set_flags(buffer, HB_BUFFER_FLAG_REMOVE_DEFAULT_IGNORABLES);
    hb_buffer_guess_segment_properties(buffer);
    uint32_t index = 0;
    if (hb_buffer_allocation_successful(buffer)) {
        hb_shape(shaper_, buffer, nullptr, 0);
        unsigned int count = 0;
        const hb_glyph_info_t* infos = hb_buffer_get_glyph_infos(buffer, &count);
        if (count == 1) index = infos[0].codepoint;
    }
    hb_buffer_destroy(buffer);
    return index;
}

const Glyph& GlyphCache::glyph(uint32_t index) {
    auto [it, inserted] = glyphs_.try_emplace(index);
    if (inserted) render(index, it->second);
    return it->second;
}

void GlyphCache::render(uint32_t index, Glyph& glyph) {
    // Embedded bitmaps of outline faces are monochrome stand-ins for small
    // sizes; the outline looks better. Colour faces are asked for their colours.
    FT_Int32 flags = color_ ? FT_LOAD_COLOR : FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP;
    if (FT_Load_Glyph(face_, index, flags) != 0) return;
    FT_GlyphSlot slot = face_->glyph;
    if (embolden_ && slot->format == FT_GLYPH_FORMAT_OUTLINE) FT_GlyphSlot_Embolden(slot);
    // Never negative: measuring relies on widths that only grow along a text.
    glyph.advance = std::max(ratio_.apply_26_6(slot->advance.x), 0);
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return;
    const FT_Bitmap& bitmap = slot->bitmap;
    if (bitmap.width == 0 || bitmap.rows == 0 || bitmap.buffer == nullptr) return;
    if (bitmap.pixel_mode == FT_PIXEL_MODE_BGRA) {
        // Scaled edges rather than a scaled size, so that neighbouring glyphs
        // of a face keep their places relative to each other.
        int32_t width = static_cast<int32_t>(bitmap.width);
        int32_t rows = static_cast<int32_t>(bitmap.rows);
        int32_t left = ratio_.apply(slot->bitmap_left);
        int32_t right = ratio_.apply(int64_t{slot->bitmap_left} + width);
        int32_t top = ratio_.apply(slot->bitmap_top);
        int32_t bottom = ratio_.apply(int64_t{slot->bitmap_top} - rows);
        glyph.left = left;
        glyph.top = top;
        glyph.width = std::max(right - left, 1);
        glyph.height = std::max(top - bottom, 1);
        glyph.color = AreaScaler::scale_bgra(bitmap.buffer, width, rows, bitmap.pitch, glyph.width,
                                             glyph.height);
        if (glyph.color.empty()) glyph.width = glyph.height = 0;
        return;
    }
    bool gray = bitmap.pixel_mode == FT_PIXEL_MODE_GRAY;
    bool mono = bitmap.pixel_mode == FT_PIXEL_MODE_MONO;
    // Coverage bitmaps of a scaled face would need scaling too; colour faces
    // have none worth the trouble.
    if ((!gray && !mono) || ratio_.to != ratio_.from) return;
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
