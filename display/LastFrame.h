#pragma once
// The window's copy of the last frame it showed, whichever path drew it. The
// SDL window shows it again when the desktop uncovers or resizes the window;
// the backdrop capture and the scripted screenshots read it.
#include <memory>

#include "draw/PixelBuffer.h"

class LastFrame {
public:
    // Copies pixels (rows of pixels.width(); the stride may differ). When no
    // buffer for the copy can be had, no frame is kept rather than a stale one.
    void keep(const PixelBuffer& pixels);
    // The copy, null before the first frame.
    const PixelBuffer* get() const { return frame_.get(); }

private:
    std::unique_ptr<PixelBuffer> frame_;
};
