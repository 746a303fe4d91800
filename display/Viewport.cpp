#include "display/Viewport.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "display/Orientation.h"

namespace {

// picture fitted into area keeping its aspect: at the largest whole factor
// when 1x fits, else shrunk to touch the area on its tighter axis.
struct Fit {
    Size size;
    bool whole = true;
};

Fit fit(Size picture, Size area) {
    if (picture.empty() || area.empty()) return {{0, 0}, true};
    int32_t factor = std::min(area.width / picture.width, area.height / picture.height);
    if (factor >= 1) return {{picture.width * factor, picture.height * factor}, true};
    // Integer arithmetic, so that the tighter side fills the area exactly.
    int64_t pw = picture.width, ph = picture.height;
    Size size;
    if (int64_t{area.width} * ph <= int64_t{area.height} * pw)
        size = {area.width, static_cast<int32_t>(ph * area.width / pw)};
    else
        size = {static_cast<int32_t>(pw * area.height / ph), area.height};
    size.width = std::max(size.width, 1);
    size.height = std::max(size.height, 1);
    return {size, false};
}

// The picture coordinate under drawable coordinate d along one axis.
int32_t to_picture_axis(double d, int32_t dest_start, int32_t dest_length, int32_t picture_length) {
    double p = std::floor((d - dest_start) * picture_length / dest_length);
    return static_cast<int32_t>(std::clamp(p, 0.0, static_cast<double>(picture_length - 1)));
}

}  // namespace

Viewport::Viewport(Size picture, Size window, Size drawable)
    : picture_(picture), window_(window), drawable_(drawable) {
    if (window.empty()) return;
    Fit placed = fit(picture, drawable);
    if (placed.size.empty()) return;
    int32_t left = (drawable.width - placed.size.width) / 2;
    int32_t top = (drawable.height - placed.size.height) / 2;
    destination_ = {left, top, left + placed.size.width, top + placed.size.height};
    filter_ = placed.whole ? Filter::Nearest : Filter::Linear;
}

double Viewport::scale() const {
    if (destination_.empty()) return 0;
    return static_cast<double>(destination_.right - destination_.left) / picture_.width;
}

Point Viewport::to_picture(Point window_point) const {
    if (destination_.empty()) return {0, 0};
    // The centre of the point, in drawable pixels.
    double dx = (window_point.x + 0.5) * drawable_.width / window_.width;
    double dy = (window_point.y + 0.5) * drawable_.height / window_.height;
    Size dest = destination_.size();
    return {to_picture_axis(dx, destination_.left, dest.width, picture_.width),
            to_picture_axis(dy, destination_.top, dest.height, picture_.height)};
}

Rect Viewport::to_window(Rect picture_rect) const {
    if (destination_.empty() || drawable_.empty()) return {};
    Size dest = destination_.size();
    auto x = [&](int32_t p) {
        double d = destination_.left + double(p) * dest.width / picture_.width;
        return static_cast<int32_t>(std::lround(d * window_.width / drawable_.width));
    };
    auto y = [&](int32_t p) {
        double d = destination_.top + double(p) * dest.height / picture_.height;
        return static_cast<int32_t>(std::lround(d * window_.height / drawable_.height));
    };
    return {x(picture_rect.left), y(picture_rect.top), x(picture_rect.right),
            y(picture_rect.bottom)};
}

Size Viewport::initial_window_size(Size screen, Size usable) { return fit(screen, usable).size; }

bool Viewport::turns(Size window, Size screen) {
    bool window_wide = window.width > window.height;
    bool window_tall = window.width < window.height;
    bool screen_wide = screen.width > screen.height;
    bool screen_tall = screen.width < screen.height;
    return (window_wide && screen_tall) || (window_tall && screen_wide);
}

ScreenInfo Viewport::turned(const ScreenInfo& screen) {
    ScreenInfo result = screen;
    std::swap(result.width, result.height);
    std::swap(result.client_size.width, result.client_size.height);
    result.orientation =
        screen.orientation == orientation::kTurned ? orientation::kUpright : orientation::kTurned;
    return result;
}
