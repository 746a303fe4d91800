#pragma once
// The direct-mode frame buffer on a window: the application locks it, draws
// the frame into the PixelBuffer it gets and unlocks it to show the frame.
// Made by Window::open_display; it must go before the window that made it.
#include <cstdint>

#include "draw/PixelBuffer.h"
#include "draw/Size.h"

class Display {
public:
    virtual ~Display() = default;

    // The frame buffer's size, as opened.
    virtual Size size() const = 0;
    // The screen's orientation code when the display was opened (see
    // display/Orientation.h); 4 when none.
    virtual int32_t orientation() const = 0;

    // The frame buffer (size() pixels, PixelBuffer::stride_for rows), owned by
    // the display and valid until unlock(). It keeps what was drawn into it
    // before, so a frame may redraw only what changed. Null when there is no
    // buffer to give (it could not be allocated); the caller skips this frame.
    virtual PixelBuffer* lock() = 0;
    // Shows what was drawn since lock(). Without a lock, does nothing.
    virtual void unlock() = 0;
};
