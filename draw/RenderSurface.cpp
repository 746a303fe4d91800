#include "draw/RenderSurface.h"

#include <algorithm>
#include <atomic>

#include "draw/FillOp.h"
#include "platform/Log.h"

namespace {

std::atomic<int64_t> g_owned_pixels{0};

int64_t area(const PixelBuffer* buffer) {
    return buffer ? int64_t{buffer->width()} * buffer->height() : 0;
}

// The clip pulled inside a buffer of the given size.
Rect clamp_clip(Rect clip, int32_t width, int32_t height) {
    clip.left = std::max(clip.left, 0);
    clip.top = std::max(clip.top, 0);
    clip.right = std::min(clip.right, width);
    clip.bottom = std::min(clip.bottom, height);
    return clip;
}

}  // namespace

RenderSurface::RenderSurface() = default;

RenderSurface::RenderSurface(PixelBuffer& lent)
    : buffer_(&lent), clip_{0, 0, lent.width(), lent.height()} {}

RenderSurface::RenderSurface(Size size) { recreate(size); }

RenderSurface::~RenderSurface() { g_owned_pixels -= area(owned_.get()); }

int64_t RenderSurface::owned_pixel_count() { return g_owned_pixels; }

bool RenderSurface::recreate(Size size) {
    if (buffer_ ? (buffer_->width() == size.width && buffer_->height() == size.height)
                : (size.width == 0 && size.height == 0))
        return false;
    g_owned_pixels -= area(owned_.get());
    if (clip_depth_ != 0) fatal(u"Clip is in effect, cannot resize", u"RenderSurface::recreate");
    owned_.reset();
    buffer_ = nullptr;
    clip_ = Rect{};
    // Without memory (or for a nonsensical size) the surface stays without a
    // buffer and draws nothing.
    owned_ = PixelBuffer::create(size.width, size.height);
    if (!owned_) return true;
    buffer_ = owned_.get();
    clip_ = Rect{0, 0, size.width, size.height};
    g_owned_pixels += area(owned_.get());
    return true;
}

void RenderSurface::swap(RenderSurface& other) {
    if (clip_depth_ != 0 || other.clip_depth_ != 0)
        fatal(u"Clip is in effect, cannot swap", u"RenderSurface::swap");
    std::swap(buffer_, other.buffer_);
    std::swap(owned_, other.owned_);
    std::swap(clip_, other.clip_);
}

Size RenderSurface::size() const {
    return buffer_ ? Size{buffer_->width(), buffer_->height()} : Size{};
}

void RenderSurface::set_clip(Point top_left, Point bottom_right) {
    if (!buffer_) return;
    // Top-left is also kept inside the buffer, so an empty clip past the far
    // edge still lies inside it.
    Rect clip{
        std::clamp(top_left.x, 0, buffer_->width()), std::clamp(top_left.y, 0, buffer_->height()),
        std::min(bottom_right.x, buffer_->width()), std::min(bottom_right.y, buffer_->height())};
    if (clip.right <= clip.left || clip.bottom <= clip.top) {
        clip.right = clip.left;
        clip.bottom = clip.top;
    }
    clip_ = clip;
}

void RenderSurface::draw_onto(RenderSurface& target, Point position, const PixelOp& op) const {
    if (!buffer_) return;
    target.blit(position, size(), *buffer_, Point{}, op);
}

void RenderSurface::draw_scaled_onto(RenderSurface& target, Point position, Size size,
                                     const PixelOp& op) const {
    if (!buffer_) return;
    target.blit_scaled(position, size, *buffer_, Point{}, this->size(), op);
}

void RenderSurface::fill(Point position, Size size, const PixelOp& op) {
    if (!buffer_ || size.empty()) return;
    Rect clip = clamp_clip(clip_, buffer_->width(), buffer_->height());
    int64_t left = std::max<int64_t>(position.x, clip.left);
    int64_t top = std::max<int64_t>(position.y, clip.top);
    int64_t right = std::min<int64_t>(int64_t{position.x} + size.width, clip.right);
    int64_t bottom = std::min<int64_t>(int64_t{position.y} + size.height, clip.bottom);
    if (left >= right || top >= bottom) return;
    for (int32_t y = static_cast<int32_t>(top); y < bottom; ++y) {
        uint16_t* row = buffer_->row(y);
        op.row(row + left, row + right, nullptr, 0, 0);
    }
}

void RenderSurface::fill(Point position, Size size, Color color) {
    fill(position, size, FillOp(color.to_565()));
}

void RenderSurface::blit(Point position, Size size, const PixelBuffer& src, Point src_origin,
                         const PixelOp& op) {
    if (!buffer_ || size.empty()) return;
    Rect clip = clamp_clip(clip_, buffer_->width(), buffer_->height());
    // 64-bit arithmetic throughout: positions and sizes come from skins and
    // layouts and may lie anywhere in the 32-bit range.
    int64_t x = position.x, y = position.y, width = size.width, height = size.height;
    int64_t sx = std::max(src_origin.x, 0), sy = std::max(src_origin.y, 0);
    if (x < clip.left) {
        int64_t skip = clip.left - x;
        x = clip.left;
        width -= skip;
        sx += skip;
    }
    if (y < clip.top) {
        int64_t skip = clip.top - y;
        y = clip.top;
        height -= skip;
        sy += skip;
    }
    width = std::min({width, clip.right - x, src.width() - sx});
    height = std::min({height, clip.bottom - y, src.height() - sy});
    if (width <= 0 || height <= 0) return;
    for (int64_t i = 0; i < height; ++i) {
        uint16_t* row = buffer_->row(static_cast<int32_t>(y + i)) + x;
        int32_t src_y = static_cast<int32_t>(sy + i);
        op.row(row, row + width, src.row(src_y) + sx, static_cast<int32_t>(sx), src_y);
    }
}

void RenderSurface::blit_scaled(Point position, Size size, const PixelBuffer& src, Point src_origin,
                                Size src_size, const PixelOp& op) {
    if (!buffer_ || size.empty() || src_size.empty()) return;
    if (src_origin.x < 0 || src_origin.y < 0 ||
        int64_t{src_origin.x} + src_size.width > src.width() ||
        int64_t{src_origin.y} + src_size.height > src.height())
        return;
    Rect clip = clamp_clip(clip_, buffer_->width(), buffer_->height());
    // Source positions in 10-bit fixed point. The source is at most
    // PixelBuffer::kMaxSide wide, so they fit 32 bits; the clipping products do
    // not always, hence 64 bits until the values are known to be in range.
    int64_t step_x = (int64_t{src_size.width} << 10) / size.width;
    int64_t step_y = (int64_t{src_size.height} << 10) / size.height;
    int64_t start_x = int64_t{src_origin.x} << 10, pos_y = int64_t{src_origin.y} << 10;
    int64_t x = position.x, y = position.y, width = size.width, height = size.height;
    if (x < clip.left) {
        int64_t skip = clip.left - x;
        x = clip.left;
        width -= skip;
        start_x += skip * step_x;
    }
    if (y < clip.top) {
        int64_t skip = clip.top - y;
        y = clip.top;
        height -= skip;
        pos_y += skip * step_y;
    }
    width = std::min<int64_t>(width, clip.right - x);
    height = std::min<int64_t>(height, clip.bottom - y);
    if (width <= 0 || height <= 0) return;
    for (int64_t i = 0; i < height; ++i, pos_y += step_y) {
        uint16_t* row = buffer_->row(static_cast<int32_t>(y + i)) + x;
        int32_t src_y = static_cast<int32_t>(pos_y >> 10);
        op.scaled_row(row, row + width, src.row(src_y), static_cast<int32_t>(start_x),
                      static_cast<int32_t>(step_x), src_y);
    }
}
