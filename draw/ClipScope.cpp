#include "draw/ClipScope.h"

#include <algorithm>

#include "draw/RenderSurface.h"

ClipScope::ClipScope(RenderSurface& surface, Point position, Size size)
    : surface_(surface), saved_(surface.clip()) {
    ++surface_.clip_depth_;
    // 64-bit corners: a position near the edge of the 32-bit range plus a size
    // must not wrap around.
    int64_t right = int64_t{position.x} + size.width;
    int64_t bottom = int64_t{position.y} + size.height;
    Point top_left{std::max(saved_.left, position.x), std::max(saved_.top, position.y)};
    Point bottom_right{static_cast<int32_t>(std::min<int64_t>(saved_.right, right)),
                       static_cast<int32_t>(std::min<int64_t>(saved_.bottom, bottom))};
    surface_.set_clip(top_left, bottom_right);
}

ClipScope::~ClipScope() {
    surface_.set_clip(saved_.top_left(), saved_.bottom_right());
    --surface_.clip_depth_;
}
