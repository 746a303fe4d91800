#pragma once
// A colour as skins write it: red, green, blue and alpha bytes, in that order.
#include <cstdint>

struct Color {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t alpha = 0;

    // The RGB565 pixel of this colour: red in bits 15..11, green in 10..5, blue
    // in 4..0, each taken from the top bits of its byte. Alpha plays no part.
    constexpr uint16_t to_565() const {
        return static_cast<uint16_t>(((red & 0xF8) << 8) | ((green & 0xFC) << 3) | (blue >> 3));
    }

    friend constexpr bool operator==(const Color&, const Color&) = default;
};

// Pixel values with a meaning of their own in drawing.
namespace rgb565 {
// Magenta (red 31, green 0, blue 31): a source pixel of this value is transparent.
inline constexpr uint16_t kKey = 0xF81F;
// The lowest green bit of a source pixel: set means opaque for the shade
// operations, clear means the pixel is stored already darkened and is added
// to a fraction of the destination.
inline constexpr uint16_t kOpaqueFlag = 0x0020;
}  // namespace rgb565
