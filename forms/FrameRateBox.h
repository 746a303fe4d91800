#pragma once
// The frame-rate box drawn while the log is on: 150 x 20 pixels at the top
// left of the screen, half transparent, showing "NN fps" over the last 20
// frames drawn.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "draw/RenderSurface.h"
#include "draw/Size.h"

class FontRep;

class FrameRateBox {
public:
    static constexpr Size kSize{150, 20};
    // Frames the rate is taken over: the time between the last kFrames + 1
    // draws.
    static constexpr size_t kFrames = 20;

    FrameRateBox();
    ~FrameRateBox();
    FrameRateBox(const FrameRateBox&) = delete;
    FrameRateBox& operator=(const FrameRateBox&) = delete;

    // A frame was drawn at now_ms (the millisecond tick).
    void frame(int64_t now_ms);
    // "NN fps" over the frames noted so far (up to kFrames of them), rounded
    // down; "-- fps" before two frames or when no time passed between them.
    std::u16string label() const;
    // Draws the box with the label at the surface's top left. The font (the
    // application's own) is opened on the first draw.
    void draw(RenderSurface& surface);

private:
    std::array<int64_t, kFrames + 1> times_{};
    size_t count_ = 0;
    size_t next_ = 0;
    std::shared_ptr<const FontRep> font_;
    RenderSurface box_;
};
