#pragma once
// A rectangle by its edges, in absolute pixel coordinates. left and top are
// inside the rectangle, right and bottom are outside it (the first column and
// row past it), so width = right - left.
#include <cstdint>

#include "draw/Point.h"
#include "draw/Size.h"

struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    constexpr Point top_left() const { return {left, top}; }
    constexpr Point bottom_right() const { return {right, bottom}; }
    constexpr Size size() const { return {right - left, bottom - top}; }
    constexpr bool empty() const { return right <= left || bottom <= top; }
    friend constexpr bool operator==(const Rect&, const Rect&) = default;
};
