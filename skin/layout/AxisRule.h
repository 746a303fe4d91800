#pragma once
// An element's placement rule along one axis, as its skin node gives it: the
// mode ("anchor_x" / "anchor_y") and its distances from the parent's start and
// end edge (the x or y component of "border_min" and "border_max"). Borders
// may be negative in a skin; layout copes with any 32-bit value.
#include <cstdint>

#include "skin/layout/LayoutMode.h"

struct AxisRule {
    LayoutMode mode = LayoutMode::BOTH_SIDE;
    int32_t border_min = 0;
    int32_t border_max = 0;

    friend constexpr bool operator==(const AxisRule&, const AxisRule&) = default;
};
