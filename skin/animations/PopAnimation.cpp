#include "skin/animations/PopAnimation.h"

#include <cmath>
#include <numbers>

PopAnimation::PopAnimation() : ScaleAnimation(0.5) {}

std::unique_ptr<VisibilityAnimation> PopAnimation::clone() const {
    auto copy = std::make_unique<PopAnimation>();
    copy_settings_to(*copy);
    return copy;
}

double PopAnimation::factor(double t) const {
    // A damped cosine: 0 at t = 0, about 1.25 near t = 0.61, back to 1 at t = 1.
    const double a = t * std::numbers::pi * 1.5;
    return 1.0 - std::cos(a) / (a + 1.0);
}
