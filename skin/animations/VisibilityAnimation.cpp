#include "skin/animations/VisibilityAnimation.h"

#include <algorithm>
#include <cmath>

#include "draw/PixelOps.h"
#include "skin/animations/FlipAnimation.h"
#include "skin/animations/PopAnimation.h"
#include "skin/animations/ScaleAnimation.h"
#include "skin/animations/SlideAnimation.h"

namespace {

// Progress per second at speed 1: a full play of a speed-1 kind takes 0.2 s.
constexpr double kRate = 5.0;

// Lets go of whatever buffer the surface holds, leaving it without one. (Recreating
// at 0 x 0 would keep an empty buffer instead.)
void release(RenderSurface& surface) {
    RenderSurface empty;
    empty.swap(surface);
}

// An op the holder owns: a clone of op, or of the copy op when there is none.
std::unique_ptr<PixelOp> own(const PixelOp* op) { return (op ? *op : pixel_ops::copy()).clone(); }

}  // namespace

std::unique_ptr<VisibilityAnimation> VisibilityAnimation::create(std::u16string_view name) {
    if (name == u"scale") return std::make_unique<ScaleAnimation>();
    if (name == u"pop") return std::make_unique<PopAnimation>();
    if (name == u"right") return std::make_unique<SlideAnimation>(SlideAnimation::Side::right);
    if (name == u"bottom") return std::make_unique<SlideAnimation>(SlideAnimation::Side::bottom);
    if (name == u"left") return std::make_unique<SlideAnimation>(SlideAnimation::Side::left);
    if (name == u"top") return std::make_unique<SlideAnimation>(SlideAnimation::Side::top);
    if (name == u"flip") return std::make_unique<FlipAnimation>();
    return nullptr;
}

VisibilityAnimation::VisibilityAnimation(double speed)
    : speed_(speed), draw_op_(pixel_ops::make_shade(0)) {}

VisibilityAnimation::~VisibilityAnimation() = default;

void VisibilityAnimation::copy_settings_to(VisibilityAnimation& clone) const {
    clone.speed_ = speed_;
    clone.draw_op_ = draw_op_->clone();
}

void VisibilityAnimation::set_draw_op(std::unique_ptr<PixelOp> op) {
    draw_op_ = op ? std::move(op) : pixel_ops::make_shade(0);
}

void VisibilityAnimation::start(RenderSurface* from, const PixelOp* from_op, int32_t direction,
                                RenderSurface* to, const PixelOp* to_op) {
    release_images();
    // The images are taken over, not copied: the caller's surfaces end up
    // without a buffer.
    if (from) {
        from_.swap(*from);
        from_op_ = own(from_op);
    }
    if (to) {
        to_.swap(*to);
        to_op_ = own(to_op);
    }
    // Any direction other than forwards plays backwards at the normal pace, so
    // a started animation always runs and always reaches its end.
    direction_ = direction >= 1 ? 1 : -1;
    t_ = direction_ > 0 ? 0.0 : 1.0;
}

void VisibilityAnimation::advance(double seconds) {
    // A broken time step must not leave t undefined: the animation would never end.
    if (std::isnan(seconds)) return;
    t_ = std::clamp(t_ + kRate * speed_ * direction_ * seconds, 0.0, 1.0);
    if ((direction_ > 0 && t_ >= 1.0) || (direction_ < 0 && t_ <= 0.0)) direction_ = 0;
    if (direction_ == 0) release_images();
}

void VisibilityAnimation::release_images() {
    release(from_);
    release(to_);
    from_op_.reset();
    to_op_.reset();
}
