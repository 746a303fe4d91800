#include "widgets/richtext/SmileyElement.h"

#include <algorithm>
#include <cmath>

#include "draw/PixelOps.h"

SmileyElement::SmileyElement(Picture strip, Picture mask, std::u16string code, int32_t scale_shift)
    : strip_(std::move(strip)), code_(std::move(code)), shift_(std::clamp(scale_shift, 0, 4)) {
    side_ = strip_.size().height;
    frames_ = side_ > 0 ? std::max(1, strip_.size().width / side_) : 1;
    // The mask op reads the mask at the strip's own coordinates, so the whole
    // mask strip serves every frame.
    if (!mask.empty()) op_ = std::make_unique<MaskOp>(std::move(mask));
    set_rule_y({LayoutMode::CENTER, 0, 0});
    set_rule_x({LayoutMode::MIN_SIDE, 0, 0});
}

void SmileyElement::time_step(double seconds) {
    Element::time_step(seconds);
    if (frames_ < 2 || !effectively_visible()) return;
    elapsed_ += seconds;
    // Long pauses (a hidden window) skip whole cycles rather than loop here.
    const double cycle = kFrameDelay * (frames_ - 1) + kLastFrameDelay;
    if (elapsed_ > cycle * 2) elapsed_ = std::fmod(elapsed_, cycle);
    while (true) {
        double delay = frame_ == frames_ - 1 ? kLastFrameDelay : kFrameDelay;
        if (elapsed_ < delay) break;
        elapsed_ -= delay;
        frame_ = (frame_ + 1) % frames_;
    }
    // The loop keeps ticking only while something asks to be drawn; a
    // playing smiley asks on every step.
    mark_redraw();
}

void SmileyElement::draw_content(RenderSurface& surface, Point position) {
    if (side_ <= 0) return;
    Picture frame = strip_;
    const int32_t side = side_ << shift_;
    const int32_t left = frame_ * side;
    frame.points = {Point{left, 0}, Point{left, 0}, Point{left + side, side},
                    Point{left + side, side}};
    frame.scale_shift = shift_;
    const Size own = size();
    // Centred in the element's rectangle, never stretched.
    Point at{position.x + (own.width - side) / 2, position.y + (own.height - side) / 2};
    frame.draw(surface, at, Size{side, side}, op_ ? *op_ : pixel_ops::copy());
}

void SmileyElement::measure_x(SizeRange& range) {
    range.preferred = std::max(range.preferred, side_ << shift_);
    range.minimum = std::max(range.minimum, side_ << shift_);
}

void SmileyElement::measure_y(SizeRange& range) {
    range.preferred = std::max(range.preferred, side_ << shift_);
    range.minimum = std::max(range.minimum, side_ << shift_);
}
