#include "forms/Backdrop.h"

#include <algorithm>

#include "draw/PixelOps.h"
#include "skin/elements/Element.h"

void Backdrop::set_fade_level(int level) { fade_level_ = std::clamp(level, kDimmed, kUndimmed); }

bool Backdrop::step_towards(int target) {
    target = std::clamp(target, kDimmed, kUndimmed);
    const int before = fade_level_;
    if (fade_level_ < target) fade_level_ = std::min(fade_level_ + kStep, target);
    if (fade_level_ > target) fade_level_ = std::max(fade_level_ - kStep, target);
    return fade_level_ != before;
}

void Backdrop::capture(Element& form, Color outside, Rect area) {
    const Size held = surface_.size();
    const Size wanted{std::max(held.width, area.right), std::max(held.height, area.bottom)};
    if (wanted != held) {
        // The picture grows: what it held stays at its place.
        RenderSurface grown(wanted);
        surface_.draw_onto(grown, {0, 0}, pixel_ops::copy());
        surface_.swap(grown);
    }
    surface_.fill(area.top_left(), area.size(), outside);
    // A form under an overlay is hidden, and a hidden element draws nothing
    // through draw(): its content is drawn directly.
    if (form.visible())
        form.draw(surface_);
    else
        form.draw_content(surface_, form.position());
}

void Backdrop::copy_to(RenderSurface& target, Point origin, Color background) const {
    const Size held = surface_.size();
    const Size size = target.size();
    if (origin.x < 0 || origin.y < 0 || origin.x + size.width > held.width ||
        origin.y + size.height > held.height)
        target.fill({0, 0}, size, background);
    surface_.draw_onto(target, {-origin.x, -origin.y}, pixel_ops::copy());
}

void Backdrop::paint(RenderSurface& target, Point origin, Color background) const {
    copy_to(target, origin, background);
    const int level = pixel_ops::fade_level(fade_level_);
    if (level < 16) target.fill({0, 0}, target.size(), *pixel_ops::make_fade(level));
}
