#pragma once
// The kinds of PixelOp. Stateless kinds are shared instances that live for the
// whole run; kinds that hold something (a colour, a fade level, a mask) are made
// by the functions below and owned by the caller.
//
// s = source pixel, d = destination pixel, key = 0xF81F, flag = s & 0x0020.
//   copy       s
//   key        d if s = key, else s
//   shade 3/4  d if s = key; s if flag; else s + d/4          (d shows 1/4)
//   shade 1/2  d if s = key; s if flag; else s + d/2          (d shows 1/2)
//   shade 1/4  d if s = key; s if flag; else s + d/2 + d/2/2  (d shows 3/4)
//   solid      s if s != key and flag, else d
//   fill       a fixed colour
//   mask       s and d mixed by the blue channel of a mask picture
//   fade k     d scaled by k/16 per channel
// d/2 and d/4 halve or quarter each channel without borrowing between channels.
#include <cstdint>
#include <memory>

#include "draw/PixelOp.h"
#include "draw/pictures/Picture.h"

namespace pixel_ops {

const PixelOp& copy();
const PixelOp& key();
const PixelOp& shade_3_4();
const PixelOp& shade_1_2();
const PixelOp& shade_1_4();
const PixelOp& solid();

// The shared op for a shade value v (a skin's "cache_alpha"): index v / 64
// clamped to 0..4 picks key, shade 3/4, shade 1/2, shade 1/4, solid.
const PixelOp& shade_for(int v);
// A small op forwarding to shade_for(v), for holders that own their op.
std::unique_ptr<PixelOp> make_shade(int v);

// Writes colour (RGB565) over every destination pixel, two per 32-bit store
// where the row is 4-byte aligned.
std::unique_ptr<PixelOp> make_fill(uint16_t color);

// Fade level k for a value v in 0..256: (v + 8) / 16 clamped to 0..16.
int fade_level(int v);
// Scales every destination pixel by k/16 (k clamped to 0..16); 16 leaves it
// alone, 0 makes it black.
std::unique_ptr<PixelOp> make_fade(int k);

// Mixes source over destination by a = mask pixel & 0x1F, read at the source
// pixel's own coordinates: d when a = 0, s when a = 31, else per 8-bit channel
// c = c_d + (c_s - c_d) * a / 32. Where the mask does not cover a source pixel
// (a mask of another size) the source pixel is drawn as if a = 31.
std::unique_ptr<PixelOp> make_mask(const Picture& mask);

// The shade rules on single pixels, for tests and for code that blends one
// pixel at a time.
uint16_t half(uint16_t d);     // (d & 0xF7DF) >> 1
uint16_t quarter(uint16_t d);  // (d & 0xE79F) >> 2
uint16_t fade_pixel(uint16_t x, int k);
uint16_t mask_pixel(uint16_t s, uint16_t d, int a);

}  // namespace pixel_ops
