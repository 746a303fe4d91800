#pragma once
// A block of RGB565 pixels. Every row starts on a 4-byte boundary, so the fill
// and fade operations can store two pixels with one 32-bit write: the stride
// (bytes per row) is width * 2 rounded up to a multiple of 4.
#include <cstdint>
#include <memory>

class PixelBuffer {
public:
    // Bytes per row for a width: (width * 2 + 3) & ~3.
    static constexpr int32_t stride_for(int32_t width) { return (width * 2 + 3) & ~3; }

    // The largest width or height, and the largest pixel count, that create()
    // accepts. Keeps the byte arithmetic far inside 32 bits and refuses sizes no
    // screen or skin picture has.
    static constexpr int32_t kMaxSide = 16384;
    static constexpr int64_t kMaxPixels = int64_t{4096} * 4096;

    // A new buffer owning zero-filled pixels. Returns null when the size is
    // negative, beyond the limits above, or memory runs out. A 0 x 0 size gives
    // a valid buffer without pixels.
    static std::unique_ptr<PixelBuffer> create(int32_t width, int32_t height);

    // A buffer over pixels owned by someone else (the display's back buffer).
    // stride must be a multiple of 4 and at least width * 2; the pixels must
    // outlive this object.
    PixelBuffer(int32_t width, int32_t height, int32_t stride, uint16_t* pixels);
    ~PixelBuffer();
    PixelBuffer(const PixelBuffer&) = delete;
    PixelBuffer& operator=(const PixelBuffer&) = delete;

    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    int32_t stride() const { return stride_; }
    bool owns_pixels() const { return owns_; }

    uint16_t* pixels() { return pixels_; }
    const uint16_t* pixels() const { return pixels_; }
    // Start of row y; y must lie in 0..height-1.
    uint16_t* row(int32_t y) {
        return reinterpret_cast<uint16_t*>(reinterpret_cast<uint8_t*>(pixels_) +
                                           int64_t{y} * stride_);
    }
    const uint16_t* row(int32_t y) const {
        return reinterpret_cast<const uint16_t*>(reinterpret_cast<const uint8_t*>(pixels_) +
                                                 int64_t{y} * stride_);
    }
    uint16_t pixel(int32_t x, int32_t y) const { return row(y)[x]; }
    void set_pixel(int32_t x, int32_t y, uint16_t value) { row(y)[x] = value; }

private:
    PixelBuffer(int32_t width, int32_t height, std::unique_ptr<uint32_t[]> owned);

    int32_t width_ = 0;
    int32_t height_ = 0;
    int32_t stride_ = 0;
    uint16_t* pixels_ = nullptr;
    bool owns_ = false;
    std::unique_ptr<uint32_t[]> owned_;
};
