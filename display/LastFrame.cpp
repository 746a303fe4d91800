#include "display/LastFrame.h"

#include <cstring>

void LastFrame::keep(const PixelBuffer& pixels) {
    if (!frame_ || frame_->width() != pixels.width() || frame_->height() != pixels.height())
        frame_ = PixelBuffer::create(pixels.width(), pixels.height());
    if (!frame_) return;
    size_t row_bytes = static_cast<size_t>(pixels.width()) * sizeof(uint16_t);
    for (int32_t y = 0; y < pixels.height(); ++y)
        std::memcpy(frame_->row(y), pixels.row(y), row_bytes);
}
