#pragma once
// The picture an overlay form is drawn over, and how dim it is shown. The
// picture is the last full form drawn into it or, before the program showed
// any, the screen as it was (the application copies that in). It is kept in
// screen coordinates: pixel (x, y) of the picture is pixel (x, y) of the
// screen.
//
// The fade level runs from 256 (undimmed) down to 128 (half bright). The
// FormStack moves it one step per drawn frame, so that an overlay dims the
// screen gradually and its removal brightens it back the same way.
#include "draw/Color.h"
#include "draw/Point.h"
#include "draw/Rect.h"
#include "draw/RenderSurface.h"

class Element;

class Backdrop {
public:
    static constexpr int kUndimmed = 256;
    static constexpr int kDimmed = 128;
    static constexpr int kStep = 16;

    // The picture, for the application to copy a captured screen into.
    RenderSurface& surface() { return surface_; }
    bool empty() const { return surface_.size().empty(); }

    int fade_level() const { return fade_level_; }
    // Clamped to kDimmed..kUndimmed.
    void set_fade_level(int level);
    // Moves the level one step towards target (clamped); whether it moved.
    bool step_towards(int target);

    // Draws form (laid out, shown or not) into the picture over the form's
    // outside colour. The picture grows to cover area (screen pixels) and
    // keeps what it holds beyond the form.
    void capture(Element& form, Color outside, Rect area);

    // Copies the picture onto target as if target's pixel (0, 0) were the
    // screen's pixel origin; the background colour wherever the picture has
    // nothing.
    void copy_to(RenderSurface& target, Point origin, Color background) const;
    // As copy_to, then dims all of target by the fade level.
    void paint(RenderSurface& target, Point origin, Color background) const;

private:
    RenderSurface surface_;
    int fade_level_ = kUndimmed;
};
