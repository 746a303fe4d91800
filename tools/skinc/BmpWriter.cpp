#include "tools/skinc/BmpWriter.h"

namespace {
void put(std::vector<uint8_t>& b, size_t at, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}
}  // namespace

std::vector<uint8_t> bmp_565(const PixelBuffer& pixels) {
    const size_t width = static_cast<size_t>(pixels.width()),
                 height = static_cast<size_t>(pixels.height());
    const size_t row = (2 * width + 3) / 4 * 4, offset = 14 + 40 + 12;
    std::vector<uint8_t> b(offset + row * height, 0);
    b[0] = 'B';
    b[1] = 'M';
    put(b, 2, static_cast<uint32_t>(b.size()), 4);
    put(b, 10, offset, 4);
    put(b, 14, 40, 4);
    put(b, 18, static_cast<uint32_t>(width), 4);
    put(b, 22, static_cast<uint32_t>(height), 4);
    put(b, 26, 1, 2);
    put(b, 28, 16, 2);
    put(b, 30, 3, 4);  // BI_BITFIELDS
    put(b, 34, static_cast<uint32_t>(row * height), 4);
    put(b, 54, 0xF800, 4);
    put(b, 58, 0x07E0, 4);
    put(b, 62, 0x001F, 4);
    for (size_t y = 0; y < height; ++y)
        for (size_t x = 0; x < width; ++x)
            put(b, offset + (height - 1 - y) * row + 2 * x,
                pixels.pixel(static_cast<int32_t>(x), static_cast<int32_t>(y)), 2);
    return b;
}
