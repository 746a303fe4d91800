#pragma once
// Where the handset picture goes in a desktop window, and back: which handset
// pixel lies under a pointer position.
//
// The picture keeps its aspect and is centred between bars. It is enlarged by
// the largest whole factor that fits the window's drawable pixels, pixel for
// pixel (nearest neighbour), so that it stays sharp; only a window too small
// for even one drawable pixel per handset pixel shrinks it by a fraction,
// smoothly (linear filtering). On a high-DPI desktop the drawable area has
// more pixels than the window has points, so a 1x window shows a 2x picture.
#include <cstdint>

#include "draw/Point.h"
#include "draw/Rect.h"
#include "draw/Size.h"
#include "input/ScreenInfo.h"

class Viewport {
public:
    enum class Filter { Nearest, Linear };

    // A picture of picture pixels in a window of window points whose drawable
    // area is drawable pixels. Any size may be empty: nothing is shown then.
    Viewport(Size picture, Size window, Size drawable);

    // The picture's place in drawable pixels; empty when nothing is shown.
    Rect destination() const { return destination_; }
    // Drawable pixels per picture pixel: a whole number from 1 up, or a
    // fraction below 1; 0 when nothing is shown.
    double scale() const;
    Filter filter() const { return filter_; }

    // The picture pixel under a window point. A point outside the picture
    // gives the nearest pixel on its edge; (0, 0) when nothing is shown.
    Point to_picture(Point window_point) const;
    // The window points that show the picture rectangle; empty when nothing
    // is shown.
    Rect to_window(Rect picture_rect) const;

    // The window size, in points, to open for a handset screen on a desktop
    // whose usable area is usable points: the screen at the largest whole
    // factor that fits, or shrunk by a fraction when even 1x does not fit.
    static Size initial_window_size(Size screen, Size usable);

    // Whether a window of this size shows the handset screen turned: one of
    // them is wider than tall and the other taller than wide. A square on
    // either side never turns.
    static bool turns(Size window, Size screen);

    // screen turned by a quarter: width and height (and the client size)
    // swapped, the orientation code switched between upright and turned.
    static ScreenInfo turned(const ScreenInfo& screen);

private:
    Size picture_;
    Size window_;
    Size drawable_;
    Rect destination_;
    Filter filter_ = Filter::Nearest;
};
