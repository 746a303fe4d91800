#pragma once
// The display of both windows: a frame buffer in memory that unlock() hands
// to the window to show (the SDL window uploads it to its texture, the
// headless one keeps it as its last frame).
#include <cstdint>
#include <functional>
#include <memory>

#include "display/Display.h"

class FrameDisplay : public Display {
public:
    using Present = std::function<void(const PixelBuffer&)>;

    // A zero-filled buffer of size; present is called with it at each
    // unlock(). When the buffer cannot be made (a size PixelBuffer refuses,
    // no memory) lock() gives null.
    FrameDisplay(Size size, int32_t orientation, Present present);

    Size size() const override { return size_; }
    int32_t orientation() const override { return orientation_; }
    PixelBuffer* lock() override;
    void unlock() override;

private:
    Size size_;
    int32_t orientation_;
    Present present_;
    std::unique_ptr<PixelBuffer> buffer_;
    bool locked_ = false;
};
