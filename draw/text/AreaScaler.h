#pragma once
// Resizing colour glyph bitmaps. Colour fonts (emoji) come as bitmaps at one
// or a few fixed sizes, 109 pixels for the usual emoji font, and are shown at
// the size of the text around them, so they are nearly always made smaller.
//
// Each output pixel is the average of the source area it covers, each source
// pixel weighed by how much of it lies inside (a box filter). That keeps thin
// lines and edges that picking the nearest source pixel would lose or make
// ragged. Averaging premultiplied pixels is exact, so no colour bleeds out of
// transparent areas. Integer arithmetic throughout: the same input gives the
// same pixels on every machine.
#include <cstddef>
#include <cstdint>
#include <vector>

class AreaScaler {
public:
    // Scales a width x height bitmap of premultiplied BGRA bytes (blue, green,
    // red, alpha; rows pitch bytes apart, bottom-up when pitch is negative, as
    // FreeType stores them) to out_width x out_height pixels. The result is
    // row by row, top-down, as premultiplied 0xAARRGGBB values. Empty when
    // either size is not positive.
    static std::vector<uint32_t> scale_bgra(const uint8_t* pixels, int32_t width, int32_t height,
                                            ptrdiff_t pitch, int32_t out_width, int32_t out_height);
};
