#include "draw/PixelOp.h"

// Ops without a source ignore where the source would come from, so every form
// comes down to the plain row.
void PixelOp::scaled_row(uint16_t* begin, uint16_t* end, const uint16_t*, int32_t, int32_t,
                         int32_t src_y) const {
    row(begin, end, nullptr, 0, src_y);
}

void PixelOp::slice_row(uint16_t* begin, uint16_t* end, const uint16_t*, int32_t, int32_t,
                        int32_t src_y) const {
    row(begin, end, nullptr, 0, src_y);
}

void PixelOp::wrapped_slice_row(uint16_t* begin, uint16_t* end, const uint16_t*, int32_t, int32_t,
                                int32_t, int32_t, int32_t src_y) const {
    row(begin, end, nullptr, 0, src_y);
}
