#include "skin/animations/FlipAnimation.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "draw/PixelOps.h"

// The card's geometry is worked out in units of half the new image's height,
// around the centre of the element's rectangle, with the viewer at the origin
// looking along +z and the card's centre line 2 units away. A point (x, y, z)
// appears at (w/2 + h * x / z, h/2 + h * y / z) from the drawing position, so
// a card lying flat at depth 2 covers the rectangle exactly.
//
// The card turns about its horizontal centre line, so each of its rows stays
// at one depth: on screen the card is a trapezoid with horizontal top and
// bottom, every screen row shows one image row, and that row is stretched
// evenly across the row's span.

namespace {

// Depth of the card's centre line.
constexpr double kDistance = 2.0;
// Nearest depth at which the card is still drawn; a card that would reach the
// viewer (a face much taller than the new image) is not drawn at all.
constexpr double kNearest = 0.05;

// One long edge of the card: its depth and the screen y it projects to.
struct Edge {
    double z = 0;
    double y = 0;
};

// The first pixel whose centre lies at or after v, for v already limited to
// a range that fits 32 bits.
int32_t first_pixel_at(double v) { return static_cast<int32_t>(std::ceil(v - 0.5)); }

// Maps image onto the trapezoid between the edges top and bottom (screen y
// relative to position). At depth z a row spans half_w + scale * left / z to
// half_w + scale * right / z, scale being the projection's factor in pixels.
void map_face(RenderSurface& surface, Point position, const RenderSurface& image, Edge top,
              Edge bottom, double left, double right, double half_w, double scale,
              const PixelOp& op) {
    PixelBuffer* target = surface.buffer();
    const PixelBuffer* source = image.buffer();
    const Size image_size = image.size();
    if (!target || !source || image_size.empty() || !(bottom.y > top.y)) return;

    const Rect clip = surface.clip();
    const int32_t clip_left = std::max(clip.left, 0);
    const int32_t clip_right = std::min(clip.right, target->width());
    const int32_t clip_top = std::max(clip.top, 0);
    const int32_t clip_bottom = std::min(clip.bottom, target->height());
    if (clip_left >= clip_right || clip_top >= clip_bottom) return;

    // Screen rows in absolute pixels, limited to the clip before conversion.
    const double y0 = position.y + top.y;
    const double y1 = position.y + bottom.y;
    const int32_t row_begin = first_pixel_at(std::clamp<double>(y0, clip_top, clip_bottom));
    const int32_t row_end = first_pixel_at(std::clamp<double>(y1, clip_top, clip_bottom));
    const int64_t full = int64_t{image_size.width} << 10;

    for (int32_t y = row_begin; y < row_end; ++y) {
        // Perspective-correct position along the card: 1/z and s/z vary
        // linearly on screen, s itself does not.
        const double a = (y + 0.5 - y0) / (y1 - y0);
        const double inv_z = (1.0 - a) / top.z + a / bottom.z;
        const double s = (a / bottom.z) / inv_z;
        const int32_t src_y =
            std::clamp(static_cast<int32_t>(s * image_size.height), 0, image_size.height - 1);

        const double x0 = position.x + half_w + scale * left * inv_z;
        const double x1 = position.x + half_w + scale * right * inv_z;
        if (!(x1 > x0)) continue;
        const int32_t col_begin = first_pixel_at(std::clamp<double>(x0, clip_left, clip_right));
        const int32_t col_end = first_pixel_at(std::clamp<double>(x1, clip_left, clip_right));
        if (col_begin >= col_end) continue;

        // Source columns in 10-bit fixed point, sampled at pixel centres. The
        // step is kept within a whole image so the products stay in 32 bits, and
        // a span that rounding pushed past the image's last column is cut.
        const double per_pixel = image_size.width / (x1 - x0);
        const double last = static_cast<double>(full - 1);
        const int64_t step = std::llround(std::min(per_pixel * 1024.0, last + 1.0));
        const int64_t start =
            std::llround(std::clamp((col_begin + 0.5 - x0) * per_pixel * 1024.0, 0.0, last));
        int64_t count = col_end - col_begin;
        if (step > 0) count = std::min(count, (full - 1 - start) / step + 1);

        uint16_t* row = target->row(y) + col_begin;
        op.scaled_row(row, row + count, source->row(src_y), static_cast<int32_t>(start),
                      static_cast<int32_t>(step), src_y);
    }
}

}  // namespace

FlipAnimation::FlipAnimation() : VisibilityAnimation(0.5) {}

std::unique_ptr<VisibilityAnimation> FlipAnimation::clone() const {
    auto copy = std::make_unique<FlipAnimation>();
    copy_settings_to(*copy);
    return copy;
}

void FlipAnimation::start(RenderSurface* from, const PixelOp* from_op, int32_t direction,
                          RenderSurface* to, const PixelOp* to_op) {
    VisibilityAnimation::start(from, from_op, direction, to, to_op);
    backwards_ = direction < 1;
    const Size size = to_.size();
    half_width_ = size.width / 2.0;
    half_height_ = size.height / 2.0;
}

void FlipAnimation::draw(RenderSurface& surface, Point position) {
    // Without a new image there is no unit of length and no rectangle to turn in.
    if (!(half_width_ > 0 && half_height_ > 0)) return;
    const double u = half_height_;
    const double h = 2.0 * half_height_;
    const double t = progress();

    // Both faces in card units, sharing the top-left corner: the new image
    // centred on the origin, the old one with its own size.
    const Size old_size = from_.size();
    const double left = -half_width_ / u;
    const double old_right = left + old_size.width / u;
    const double old_half = old_size.height / (2.0 * u);
    const double old_centre = -1.0 + old_half;
    // The card blends from the old face's shape to the new one's.
    const double right = (1.0 - t) * old_right + t * (half_width_ / u);
    const double centre = (1.0 - t) * old_centre;
    const double half = (1.0 - t) * old_half + t;

    const double angle = t * std::numbers::pi;
    const double dy = half * std::cos(angle);
    const double dz = half * std::sin(angle);
    // The first long edge starts at the bottom and swings away from the viewer.
    const double first_z = kDistance + dz;
    const double second_z = kDistance - dz;
    if (first_z < kNearest || second_z < kNearest) return;
    const Edge first{first_z, half_height_ + h * (centre + dy) / first_z};
    const Edge second{second_z, half_height_ + h * (centre - dy) / second_z};

    // The old face shows until the edges cross on screen; then the new face,
    // with the edges exchanged so that its top lies on the first edge and it
    // stands upright.
    if (first.y > second.y) {
        map_face(surface, position, from_, second, first, left, right, half_width_, h,
                 pixel_ops::copy());
    } else if (first.y < second.y) {
        map_face(surface, position, to_, first, second, left, right, half_width_, h, draw_op());
    }
}
