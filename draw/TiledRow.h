#pragma once
// Laying out the repeated middle of a sliced picture's row in one piece, so
// that it can be blended with one call instead of one call per tile.
#include <cstddef>
#include <cstdint>

namespace tiled_row {

// Writes count pixels into out: pixel i is row[j >> shift], where the running
// index j starts at start and jumps back to wrap_to whenever it reaches
// wrap_at (as PixelOp::wrapped_slice_row reads its source). Requires
// wrap_to < wrap_at and wrap_to <= start < wrap_at. Returns the running index
// after the last pixel, where a following call goes on.
int32_t lay_out(uint16_t* out, size_t count, const uint16_t* row, int32_t start, int32_t shift,
                int32_t wrap_to, int32_t wrap_at);

}  // namespace tiled_row
