#include "display/FrameDisplay.h"

#include <utility>

FrameDisplay::FrameDisplay(Size size, int32_t orientation, Present present)
    : size_(size),
      orientation_(orientation),
      present_(std::move(present)),
      buffer_(PixelBuffer::create(size.width, size.height)) {}

PixelBuffer* FrameDisplay::lock() {
    if (!buffer_) return nullptr;
    locked_ = true;
    return buffer_.get();
}

void FrameDisplay::unlock() {
    if (!locked_) return;
    locked_ = false;
    present_(*buffer_);
}
