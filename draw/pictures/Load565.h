#pragma once
// Loading 16-bit Windows BMP files (RGB565 pixels) into pictures.
//
// BMP layout used here, all little-endian:
//   file header (14 bytes): "BM", file size (4), reserved (4), pixel data offset (4)
//   information header (40 bytes or more): header size (4), width (4, signed),
//     height (4, signed; negative means rows are stored top-down), planes (2),
//     bit count (2), compression (4), image size (4), resolution (8),
//     colours used (4), important colours (4)
//   with BI_BITFIELDS (compression 3) the red, green and blue masks follow as
//   three 4-byte values.
// Rows are padded to 4 bytes.
#include <cstdint>
#include <span>
#include <string_view>

#include "draw/pictures/Picture.h"

// Opens path + ".bmp" (path macros expanded) and loads it. A missing, short,
// damaged or not 16-bit file logs one line and gives an empty picture.
Picture load_565(std::u16string_view path);

// The same for a file already in memory; name becomes the picture's name.
Picture load_565_from_memory(std::span<const uint8_t> bytes, std::u16string_view name);

// The companion mask of the picture at path: an ordinary 16-bit picture loaded
// from path + "_mask" (smileys keep their opacity in one).
Picture load_565_mask(std::u16string_view path);
