#pragma once
// A short transition that an element plays when it is shown or hidden, and
// that the form stack plays between two screens. It works on images only: at
// start it takes over the element's freshly drawn image (the to-image) and,
// for screen changes, the image of what was shown before (the from-image),
// and from then on draws those instead of the element until it ends.
//
// Progress t runs from 0 (hidden) to 1 (shown): forwards when showing,
// backwards when hiding, at 5 * speed per second. A running animation can be
// reversed at any time; once it reaches its end it turns idle and lets both
// images go.
//
// The kinds, by the skin's "visibility_animation" value: "scale", "pop",
// "right", "bottom", "left", "top" (slides) and "flip".
#include <cstdint>
#include <memory>
#include <string_view>

#include "draw/PixelOp.h"
#include "draw/Point.h"
#include "draw/RenderSurface.h"

class VisibilityAnimation {
public:
    // The animation named, or null for a name no kind has.
    static std::unique_ptr<VisibilityAnimation> create(std::u16string_view name);

    virtual ~VisibilityAnimation();
    VisibilityAnimation(const VisibilityAnimation&) = delete;
    VisibilityAnimation& operator=(const VisibilityAnimation&) = delete;

    // A new idle animation of the same kind, speed and parameters, without
    // images.
    virtual std::unique_ptr<VisibilityAnimation> clone() const = 0;
    // Releases both images, then takes over from and to (each may be null;
    // the caller's surface is left empty) with clones of their ops (null ops
    // stand for the copy op). direction +1 plays forwards from t = 0, -1 (or
    // anything below 1) backwards from t = 1.
    virtual void start(RenderSurface* from, const PixelOp* from_op, int32_t direction,
                       RenderSurface* to, const PixelOp* to_op);
    // Draws the images at position for the current t.
    virtual void draw(RenderSurface& surface, Point position) = 0;

    // t += 5 * speed * direction * seconds; stops at 1 (forwards) or 0
    // (backwards), turns idle and releases both images.
    void advance(double seconds);
    // Plays the other way from where it is.
    void reverse() { direction_ = -direction_; }

    bool running() const { return direction_ != 0; }
    int32_t direction() const { return direction_; }
    double progress() const { return t_; }
    double speed() const { return speed_; }

    // The op the to-image is drawn with; the key op (magenta transparent)
    // until replaced.
    const PixelOp& draw_op() const { return *draw_op_; }
    void set_draw_op(std::unique_ptr<PixelOp> op);

    const RenderSurface& from_image() const { return from_; }
    const RenderSurface& to_image() const { return to_; }

protected:
    explicit VisibilityAnimation(double speed);
    // Copies speed and draw op into a fresh clone.
    void copy_settings_to(VisibilityAnimation& clone) const;

    RenderSurface from_;
    std::unique_ptr<PixelOp> from_op_;
    RenderSurface to_;
    std::unique_ptr<PixelOp> to_op_;

private:
    void release_images();

    int32_t direction_ = 0;
    double t_ = 1.0;
    double speed_ = 1.0;
    std::unique_ptr<PixelOp> draw_op_;
};
