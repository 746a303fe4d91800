#pragma once
// Writes RGB565 pixels as an 8-bit RGB PNG file (screenshots, reference images).
// Each channel is widened by repeating its top bits (5-bit red 0x1F becomes
// 0xFF, 0x10 becomes 0x84), so black stays black, white stays white, and
// PngReader gives back the exact 565 pixels.
#include <string>

#include "draw/PixelBuffer.h"

class PngWriter {
public:
    // Replaces path atomically: readers see the old file or the complete new
    // one. Returns false with *error set to one line on failure.
    static bool write(const PixelBuffer& pixels, const std::string& path, std::string* error);
};
