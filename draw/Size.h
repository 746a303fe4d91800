#pragma once
// A width and a height in pixels. Negative or zero sizes are legal values and
// mean "nothing to draw".
#include <cstdint>

struct Size {
    int32_t width = 0;
    int32_t height = 0;

    constexpr bool empty() const { return width <= 0 || height <= 0; }
    friend constexpr bool operator==(const Size&, const Size&) = default;
};
