#pragma once
// "scale": the element grows from its centre (factor t squared), over the
// from-image drawn as it is. Full play 0.2 s.
#include "skin/animations/VisibilityAnimation.h"

class ScaleAnimation : public VisibilityAnimation {
public:
    ScaleAnimation();
    std::unique_ptr<VisibilityAnimation> clone() const override;
    void draw(RenderSurface& surface, Point position) override;

    // The scale factor at progress t.
    virtual double factor(double t) const;

protected:
    explicit ScaleAnimation(double speed);
};
