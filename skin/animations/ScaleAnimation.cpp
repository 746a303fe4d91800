#include "skin/animations/ScaleAnimation.h"

#include "draw/PixelOps.h"

ScaleAnimation::ScaleAnimation() : ScaleAnimation(1.0) {}

ScaleAnimation::ScaleAnimation(double speed) : VisibilityAnimation(speed) {}

std::unique_ptr<VisibilityAnimation> ScaleAnimation::clone() const {
    auto copy = std::make_unique<ScaleAnimation>();
    copy_settings_to(*copy);
    return copy;
}

double ScaleAnimation::factor(double t) const { return t * t; }

void ScaleAnimation::draw(RenderSurface& surface, Point position) {
    from_.draw_onto(surface, position, pixel_ops::copy());
    // The new image is stretched about the centre of its rectangle; the sizes
    // and offsets are truncated toward zero, so a factor above 1 (pop) centres
    // the grown image the same way.
    const Size size = to_.size();
    const double f = factor(progress());
    const Size scaled{static_cast<int32_t>(size.width * f), static_cast<int32_t>(size.height * f)};
    if (scaled.empty()) return;
    const Point offset{static_cast<int32_t>((size.width - scaled.width) * 0.5),
                       static_cast<int32_t>((size.height - scaled.height) * 0.5)};
    to_.draw_scaled_onto(surface, position + offset, scaled, draw_op());
}
