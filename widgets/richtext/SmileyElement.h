#pragma once
// A smiley on screen: one square frame of its animation strip at a time,
// drawn through the strip's mask. The strip's frames are as wide as it is
// high (width / height of them); each shows 0.2 seconds, the last one 1.0
// second, and the animation cycles while the element is visible. Its size is
// one frame.
#include <cstdint>
#include <memory>

#include "draw/MaskOp.h"
#include "draw/pictures/Picture.h"
#include "skin/elements/Element.h"

class SmileyElement : public Element {
public:
    std::u16string_view kind_name() const override { return u"smiley"; }

    static constexpr double kFrameDelay = 0.2;
    static constexpr double kLastFrameDelay = 1.0;

    // strip must not be empty; mask may be (the strip is then drawn opaque).
    // With scale_shift 1 every picture pixel is drawn twice each way, like
    // the skin's pictures on a dense screen.
    SmileyElement(Picture strip, Picture mask, std::u16string code, int32_t scale_shift = 0);

    int32_t frames() const { return frames_; }
    int32_t frame() const { return frame_; }
    // The code it stands for in the text.
    const std::u16string* shown_text() const override { return &code_; }

    void time_step(double seconds) override;
    void draw_content(RenderSurface& surface, Point position) override;
    void measure_x(SizeRange& range) override;
    void measure_y(SizeRange& range) override;

private:
    Picture strip_;
    std::unique_ptr<PixelOp> op_;
    std::u16string code_;
    int32_t side_ = 0;  // one frame's side in picture pixels
    int32_t shift_ = 0;
    int32_t frames_ = 1;
    int32_t frame_ = 0;
    double elapsed_ = 0;
};
