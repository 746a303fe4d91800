#pragma once
// A 16-bit surface drawn into under a clip rectangle.
//
// The surface either owns its PixelBuffer (created by recreate) or draws into
// one lent by someone else (the display's back buffer). The clip always lies
// inside the buffer; ClipScope narrows it for a stretch of code. A process-wide
// counter holds the pixels of all owned buffers, for the debug overlay.
#include <cstdint>
#include <memory>

#include "draw/Color.h"
#include "draw/PixelBuffer.h"
#include "draw/PixelOp.h"
#include "draw/Point.h"
#include "draw/Rect.h"
#include "draw/Size.h"

class RenderSurface {
public:
    // No buffer, clip (0, 0, 0, 0), depth 0. Draws nothing.
    RenderSurface();
    // Draws into lent; the clip is the whole buffer. lent must outlive this.
    explicit RenderSurface(PixelBuffer& lent);
    // As the empty surface, then recreate(size).
    explicit RenderSurface(Size size);
    ~RenderSurface();
    RenderSurface(const RenderSurface&) = delete;
    RenderSurface& operator=(const RenderSurface&) = delete;

    // Gives the surface an owned, zero-filled buffer of size. Returns false and
    // changes nothing when the buffer already has that size, or there is no
    // buffer and size is (0, 0). Calling it while a ClipScope is open is a fatal
    // internal error. When the buffer cannot be created (out of memory, absurd
    // size) the surface is left without a buffer and returns true.
    bool recreate(Size size);

    // Exchanges buffers (owned or lent) and clips with other, so a holder can
    // take over a drawn image without copying it. Neither may have a
    // ClipScope open (a fatal internal error otherwise).
    void swap(RenderSurface& other);

    // (width, height) of the buffer, (0, 0) without one.
    Size size() const;
    PixelBuffer* buffer() { return buffer_; }
    const PixelBuffer* buffer() const { return buffer_; }

    Rect clip() const { return clip_; }
    int clip_depth() const { return clip_depth_; }
    // Clamps top_left to at least (0, 0) and bottom_right to at most size(); an
    // empty result collapses bottom_right onto top_left. No-op without a buffer.
    void set_clip(Point top_left, Point bottom_right);

    // Blits the whole of this surface to target at position through op, clipped
    // by the target's clip. No-op without a buffer on either side.
    void draw_onto(RenderSurface& target, Point position, const PixelOp& op) const;
    // As draw_onto, stretched to size (nearest pixel, 10-bit fixed point).
    void draw_scaled_onto(RenderSurface& target, Point position, Size size,
                          const PixelOp& op) const;

    // Calls op's row form (with no source) on every clipped row of the rectangle.
    void fill(Point position, Size size, const PixelOp& op);
    // Fills with the colour converted to RGB565.
    void fill(Point position, Size size, Color color);

    // Blits src from src_origin onwards to position (size pixels at most),
    // clipped by this surface's clip and by what src holds.
    void blit(Point position, Size size, const PixelBuffer& src, Point src_origin,
              const PixelOp& op);
    // Blits the src_size rectangle of src at src_origin stretched to size.
    // Draws nothing unless the source rectangle lies inside src.
    void blit_scaled(Point position, Size size, const PixelBuffer& src, Point src_origin,
                     Size src_size, const PixelOp& op);

    // Pixels (width * height) of all buffers that surfaces own right now.
    static int64_t owned_pixel_count();

private:
    friend class ClipScope;

    PixelBuffer* buffer_ = nullptr;
    std::unique_ptr<PixelBuffer> owned_;
    Rect clip_;
    int clip_depth_ = 0;
};
