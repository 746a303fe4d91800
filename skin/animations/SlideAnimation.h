#pragma once
// "right", "bottom", "left", "top": the new image enters from the named side
// and pushes the old one out of the opposite side, cut to the element's
// rectangle. Full play 0.2 s.
#include "skin/animations/VisibilityAnimation.h"

class SlideAnimation : public VisibilityAnimation {
public:
    enum class Side : int32_t { right = 0, bottom = 1, left = 2, top = 3 };

    explicit SlideAnimation(Side side);
    std::unique_ptr<VisibilityAnimation> clone() const override;
    void draw(RenderSurface& surface, Point position) override;

    Side side() const { return side_; }

private:
    Side side_;
};
