#pragma once
// "flip": the two images are the faces of a card that turns about its
// horizontal centre line through t * pi, seen in perspective from in front:
// the old image until the edges cross (a quarter turn), then the new one,
// upright. An empty face draws nothing, so an element shown with "flip"
// appears in the second half of the turn. Full play 0.4 s.
#include "skin/animations/VisibilityAnimation.h"

class FlipAnimation : public VisibilityAnimation {
public:
    FlipAnimation();
    std::unique_ptr<VisibilityAnimation> clone() const override;
    void start(RenderSurface* from, const PixelOp* from_op, int32_t direction, RenderSurface* to,
               const PixelOp* to_op) override;
    void draw(RenderSurface& surface, Point position) override;

    // Whether the last start played backwards.
    bool backwards() const { return backwards_; }

private:
    bool backwards_ = false;
    // Half the to-image's width and height, noted at start.
    double half_width_ = 0;
    double half_height_ = 0;
};
