#include "skin/layout/LayoutState.h"

bool LayoutState::set_x_extent(int32_t x, int32_t width) {
    const AxisSpan span{x, width};
    if (span == x_ && !dirty_) return false;
    x_ = span;
    dirty_ = true;
    y_range_ = SizeRange::invalid();
    return true;
}

bool LayoutState::set_y_extent(int32_t y, int32_t height) {
    const AxisSpan span{y, height};
    if (span == y_ && !dirty_) return false;
    y_ = span;
    dirty_ = false;
    return true;
}

void LayoutState::invalidate() {
    x_range_ = SizeRange::invalid();
    y_range_ = SizeRange::invalid();
    dirty_ = true;
}
