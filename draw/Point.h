#pragma once
// A position in pixels: x grows to the right, y grows downwards. Also used for
// the corner points of a clip rectangle and the slicing points of a picture.
#include <cstdint>

struct Point {
    int32_t x = 0;
    int32_t y = 0;

    friend constexpr bool operator==(const Point&, const Point&) = default;
    friend constexpr Point operator+(Point a, Point b) { return {a.x + b.x, a.y + b.y}; }
    friend constexpr Point operator-(Point a, Point b) { return {a.x - b.x, a.y - b.y}; }
};
