#pragma once
// How source pixels combine with the destination, one row at a time.
//
// Drawing calls an op once per destination row, never once per pixel, so the
// virtual call is paid per row and each op's inner loop stays tight. Every row
// form writes each destination pixel in [begin, end) exactly once. All forms
// also get the source row's y coordinate (in source pixels), which the mask op
// needs to read its mask at the same place as the picture.
//
// Source indices are in source pixels from the start of the row unless the
// form says otherwise. Ops that take no source (fill, fade) only implement
// row() and ignore the source arguments; the other forms call row() for them.
#include <cstdint>
#include <memory>

class PixelOp {
public:
    virtual ~PixelOp() = default;

    // Destination pixel i takes source pixel src[i]; src points at source column
    // src_x of source row src_y. src may be null for ops without a source (a fill
    // through RenderSurface::fill); ops that need a source then draw nothing.
    virtual void row(uint16_t* begin, uint16_t* end, const uint16_t* src, int32_t src_x,
                     int32_t src_y) const = 0;

    // Destination pixel i takes source pixel row[(start + i * step) >> 10]:
    // start and step are fixed point with 10 fraction bits, row points at source
    // column 0.
    virtual void scaled_row(uint16_t* begin, uint16_t* end, const uint16_t* row, int32_t start,
                            int32_t step, int32_t src_y) const;

    // Destination pixel i takes source pixel row[(start + i) >> shift]; row points
    // at source column 0. The count is end - begin.
    virtual void slice_row(uint16_t* begin, uint16_t* end, const uint16_t* row, int32_t start,
                           int32_t shift, int32_t src_y) const;

    // As slice_row, but the running index j (starting at start) jumps back to
    // wrap_to whenever it reaches wrap_at, which tiles [wrap_to, wrap_at). The
    // caller guarantees wrap_to < wrap_at and wrap_to <= start < wrap_at.
    virtual void wrapped_slice_row(uint16_t* begin, uint16_t* end, const uint16_t* row,
                                   int32_t start, int32_t shift, int32_t wrap_to, int32_t wrap_at,
                                   int32_t src_y) const;

    // A heap copy of this op, for holders that outlive the caller's op.
    virtual std::unique_ptr<PixelOp> clone() const = 0;
};
