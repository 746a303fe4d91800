#pragma once
// "pop": as "scale", but the factor 1 - cos(a) / (a + 1), a = t * 1.5 * pi,
// overshoots to about 1.25 near t = 0.61 before settling, so the element
// briefly grows past its rectangle. Full play 0.4 s.
#include "skin/animations/ScaleAnimation.h"

class PopAnimation : public ScaleAnimation {
public:
    PopAnimation();
    std::unique_ptr<VisibilityAnimation> clone() const override;
    double factor(double t) const override;
};
