// Sliced drawing: a picture drawn into a rectangle of any size keeps its head
// and tail parts (corners and edges across the axis) at their own size and
// tiles the middle part, per axis. Each axis is planned once; every
// destination row is then at most three op calls.
#include "draw/pictures/PictureData.h"

#include <algorithm>

#include "draw/Color.h"
#include "draw/RenderSurface.h"
#include "platform/Log.h"

namespace {

// The plan of one axis: which destination pixels take which source indices.
// Indices are destination counters; the source pixel is index >> shift.
struct AxisPlan {
    int64_t start = 0;  // first destination pixel drawn
    int64_t head = 0;   // head pixels, from head_src onward
    int64_t head_src = 0;
    int64_t middle = 0;  // middle pixels, tiling [p1, p2) from p1 + phase
    int64_t phase = 0;
    int64_t tail = 0;  // tail pixels, from tail_src onward
    int64_t tail_src = 0;
};

AxisPlan plan_axis(int64_t dst, int64_t length, int32_t p0, int32_t p1, int32_t p2, int32_t p3,
                   int64_t clip_lo, int64_t clip_hi) {
    AxisPlan plan;
    int64_t head = p1 - p0, tail = p3 - p2;
    int64_t h = head, t = tail;
    if (length <= head + tail) {
        // Too short for both ends: each gets half, and what one end cannot
        // fill goes to the other.
        h = length / 2;
        t = (length - 1) / 2;
        if (h > head) {
            t += h - head;
            h = head;
        }
        if (t > tail) {
            h += t - tail;
            t = tail;
        }
    }
    plan.start = dst;
    plan.head = h;
    plan.head_src = p0;
    plan.middle = length - h - t;
    plan.tail = t;
    plan.tail_src = p3 - t;

    int64_t cut = clip_lo - dst;
    if (cut > 0) {
        int64_t n = std::min(cut, plan.head);
        plan.head -= n;
        plan.head_src += n;
        cut -= n;
        n = std::min(cut, plan.middle);
        plan.middle -= n;
        if (p2 > p1) plan.phase = n % (p2 - p1);
        cut -= n;
        n = std::min(cut, plan.tail);
        plan.tail -= n;
        plan.tail_src += n;
        plan.start = clip_lo;
    }
    cut = dst + length - clip_hi;
    if (cut > 0) {
        int64_t n = std::min(cut, plan.tail);
        plan.tail -= n;
        cut -= n;
        n = std::min(cut, plan.middle);
        plan.middle -= n;
        cut -= n;
        plan.head -= std::min(cut, plan.head);
    }
    return plan;
}

// Pulls the points of one axis inside the bitmap (limit = its length << shift)
// and into order, so no plan can index outside the bitmap.
void order_points(int32_t& p0, int32_t& p1, int32_t& p2, int32_t& p3, int32_t limit) {
    p0 = std::clamp(p0, 0, limit);
    p1 = std::clamp(p1, p0, limit);
    p2 = std::clamp(p2, p1, limit);
    p3 = std::clamp(p3, p2, limit);
}

}  // namespace

PictureData::PictureData(std::u16string name, std::unique_ptr<PixelBuffer> pixels)
    : name_(std::move(name)), pixels_(std::move(pixels)) {
    if (!pixels_) pixels_ = PixelBuffer::create(0, 0);
}

Size PictureData::size() const { return {pixels_->width(), pixels_->height()}; }

void PictureData::draw(RenderSurface& surface, Point position, Size size, const PixelOp& op,
                       const std::array<Point, 4>& points, int32_t shift) const {
    PixelBuffer* target = surface.buffer();
    if (!target || size.empty() || pixels_->width() == 0 || pixels_->height() == 0) return;
    Rect clip = surface.clip();
    int64_t left = std::max<int64_t>(position.x, clip.left);
    int64_t top = std::max<int64_t>(position.y, clip.top);
    int64_t right = std::min<int64_t>(int64_t{position.x} + size.width, clip.right);
    int64_t bottom = std::min<int64_t>(int64_t{position.y} + size.height, clip.bottom);
    if (left >= right || top >= bottom) return;

    // Skins give shifts of 0 to 2; anything beyond a few doublings is nonsense.
    shift = std::clamp(shift, 0, 8);
    int32_t x0 = points[0].x, x1 = points[1].x, x2 = points[2].x, x3 = points[3].x;
    int32_t y0 = points[0].y, y1 = points[1].y, y2 = points[2].y, y3 = points[3].y;
    order_points(x0, x1, x2, x3, pixels_->width() << shift);
    order_points(y0, y1, y2, y3, pixels_->height() << shift);

    AxisPlan px = plan_axis(position.x, size.width, x0, x1, x2, x3, left, right);
    AxisPlan py = plan_axis(position.y, size.height, y0, y1, y2, y3, top, bottom);
    // An empty middle has no source: its pixels keep their place but are left
    // as they are.
    bool middle_x = x2 > x1, middle_y = y2 > y1;

    auto draw_row = [&](int64_t y, int32_t counter) {
        int32_t src_y = counter >> shift;
        const uint16_t* src = pixels_->row(src_y);
        uint16_t* d = target->row(static_cast<int32_t>(y)) + px.start;
        if (px.head > 0)
            op.slice_row(d, d + px.head, src, static_cast<int32_t>(px.head_src), shift, src_y);
        d += px.head;
        if (px.middle > 0 && middle_x)
            op.wrapped_slice_row(d, d + px.middle, src, static_cast<int32_t>(x1 + px.phase), shift,
                                 x1, x2, src_y);
        d += px.middle;
        if (px.tail > 0)
            op.slice_row(d, d + px.tail, src, static_cast<int32_t>(px.tail_src), shift, src_y);
    };

    int64_t y = py.start;
    for (int64_t i = 0; i < py.head; ++i) draw_row(y++, static_cast<int32_t>(py.head_src + i));
    if (middle_y) {
        int32_t counter = static_cast<int32_t>(y1 + py.phase);
        for (int64_t i = 0; i < py.middle; ++i) {
            draw_row(y++, counter);
            if (++counter == y2) counter = y1;
        }
    } else {
        y += py.middle;
    }
    for (int64_t i = 0; i < py.tail; ++i) draw_row(y++, static_cast<int32_t>(py.tail_src + i));
}

void PictureData::convert_to_red() {
    for (int32_t y = 0; y < pixels_->height(); ++y) {
        uint16_t* row = pixels_->row(y);
        for (int32_t x = 0; x < pixels_->width(); ++x)
            if (row[x] != rgb565::kKey) row[x] &= 0xF820;
    }
}
