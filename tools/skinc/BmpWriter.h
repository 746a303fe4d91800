#pragma once
// Writes pixels as the 16-bit BMP files that skins use: BI_BITFIELDS with the
// RGB565 masks, rows bottom-up and padded to 4 bytes.
#include <cstdint>
#include <vector>

#include "draw/PixelBuffer.h"

std::vector<uint8_t> bmp_565(const PixelBuffer& pixels);
