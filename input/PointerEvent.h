#pragma once
// A stylus or mouse event as the window delivers it to the forms. Positions
// are absolute screen pixels.
#include <cstdint>

struct PointerEvent {
    int32_t x = 0;
    int32_t y = 0;
    // Passed through unchanged; the window leaves it 0.
    int32_t aux = 0;
    // 0 for every event that comes from the window. Elements may send each
    // other events with another value; a button keeps its pressed state for
    // those.
    int32_t source = 0;
    bool pressed = false;
    // The pointer was taken away without a release (capture lost, element
    // hidden under the stylus): the press ends without taking effect.
    bool cancelled = false;
};
