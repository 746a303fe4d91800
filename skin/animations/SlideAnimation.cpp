#include "skin/animations/SlideAnimation.h"

#include "draw/ClipScope.h"
#include "draw/PixelOps.h"

SlideAnimation::SlideAnimation(Side side) : VisibilityAnimation(1.0), side_(side) {}

std::unique_ptr<VisibilityAnimation> SlideAnimation::clone() const {
    auto copy = std::make_unique<SlideAnimation>(side_);
    copy_settings_to(*copy);
    return copy;
}

void SlideAnimation::draw(RenderSurface& surface, Point position) {
    const Size size = to_.size();
    // Both images are cut to the element's rectangle: the new one enters it
    // from the named side while the old one leaves by the opposite side.
    ClipScope clip(surface, position, size);
    const double r = 1.0 - progress();
    Point new_offset;
    Point old_offset;
    switch (side_) {
        case Side::right:
            new_offset = {static_cast<int32_t>(r * size.width), 0};
            old_offset = {new_offset.x - size.width, 0};
            break;
        case Side::bottom:
            new_offset = {0, static_cast<int32_t>(r * size.height)};
            old_offset = {0, new_offset.y - size.height};
            break;
        case Side::left:
            new_offset = {static_cast<int32_t>(r * -size.width), 0};
            old_offset = {size.width + new_offset.x, 0};
            break;
        case Side::top:
            new_offset = {0, static_cast<int32_t>(r * -size.height)};
            old_offset = {0, size.height + new_offset.y};
            break;
    }
    from_.draw_onto(surface, position + old_offset, pixel_ops::copy());
    to_.draw_onto(surface, position + new_offset, draw_op());
}
