#pragma once
// The screen as last read from the window system: its size in pixels, the
// client area, the display's orientation code and its density.
#include <cstdint>

#include "draw/Point.h"
#include "draw/Size.h"

struct ScreenInfo {
    int32_t width = 0;
    int32_t height = 0;
    // For a fresh reading the client area is the whole screen.
    Point client_origin;
    Size client_size;
    // As the display reports it; 4 when it reports none.
    int32_t orientation = 4;
    // Pixels per logical inch, vertically. Skins scale by it.
    int32_t pixels_per_inch = 96;

    friend bool operator==(const ScreenInfo&, const ScreenInfo&) = default;
};
