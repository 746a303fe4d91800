#pragma once
// A stretch of one axis: where it starts and how long it is, in pixels. Layout
// results are either relative to the parent's start (an offset) or absolute
// screen positions; each function says which. Layout never produces a
// negative extent.
#include <cstdint>

struct AxisSpan {
    int32_t position = 0;
    int32_t extent = 0;

    friend constexpr bool operator==(const AxisSpan&, const AxisSpan&) = default;
};
