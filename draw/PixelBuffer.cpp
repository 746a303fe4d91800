#include "draw/PixelBuffer.h"

#include <new>

std::unique_ptr<PixelBuffer> PixelBuffer::create(int32_t width, int32_t height) {
    if (width < 0 || height < 0 || width > kMaxSide || height > kMaxSide ||
        int64_t{width} * height > kMaxPixels)
        return nullptr;
    // Whole 32-bit words: the stride is a multiple of 4, and the pair stores of
    // fill and fade then write into storage of their own type.
    size_t words = static_cast<size_t>(stride_for(width)) / 4 * static_cast<size_t>(height);
    std::unique_ptr<uint32_t[]> storage;
    if (words > 0) {
        storage.reset(new (std::nothrow) uint32_t[words]());
        if (!storage) return nullptr;
    }
    return std::unique_ptr<PixelBuffer>(new PixelBuffer(width, height, std::move(storage)));
}

PixelBuffer::PixelBuffer(int32_t width, int32_t height, std::unique_ptr<uint32_t[]> owned)
    : width_(width),
      height_(height),
      stride_(stride_for(width)),
      pixels_(reinterpret_cast<uint16_t*>(owned.get())),
      owns_(true),
      owned_(std::move(owned)) {}

PixelBuffer::PixelBuffer(int32_t width, int32_t height, int32_t stride, uint16_t* pixels)
    : width_(width), height_(height), stride_(stride), pixels_(pixels) {}

PixelBuffer::~PixelBuffer() = default;
