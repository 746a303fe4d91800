#pragma once
// The pixel height of a font from its point size, as the skins were designed
// against: a 96 dots-per-inch conversion, with a hand-tuned table for the small
// sizes where plain arithmetic rounds badly. The height is the em size (the
// font's character height without internal leading).
#include <cstdint>

class FontSizes {
public:
    // The largest pixel height handed to the font engine. Larger requests (a
    // damaged skin, size x scale overflowing) are clamped: a glyph of that size
    // already fills any screen, and rendering larger ones only burns memory.
    static constexpr int32_t kMaxPixelHeight = 1024;

    // Em height in pixels for size points at scale: with v = size x scale, the
    // table value for 0 <= v < 20, else v * 96 / 72 truncated. A negative v is
    // taken as 0; the result is at most kMaxPixelHeight.
    static int32_t pixel_height(int32_t size, int32_t scale);
};
