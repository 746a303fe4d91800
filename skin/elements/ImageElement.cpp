#include "skin/elements/ImageElement.h"

#include <algorithm>

#include "draw/PixelOps.h"
#include "skin/Properties.h"

namespace {

// A growing image is at least as large as the picture's outer slicing
// rectangle along the axis.
void grow_to(SizeRange& range, int32_t extent) {
    range.preferred = std::max(range.preferred, extent);
    range.minimum = std::max(range.minimum, extent);
}

}  // namespace

void ImageElement::load_from_node(Properties& properties, SkinNode node) {
    Element::load_from_node(properties, node);
    picture_ = properties.picture(node, u"src");
    // Without "alpha" the element keeps the op it has (none when new: drawn
    // with the copy op).
    int32_t alpha = properties.integer(node, u"alpha", -1);
    if (alpha != -1) op_ = pixel_ops::make_shade(alpha);
    grow_ = properties.integer(node, u"grow", 0) != 0;
    mark_redraw();
}

void ImageElement::set_picture(const Picture& picture) {
    if (picture == picture_) return;
    picture_ = picture;
    if (grow_) invalidate_layout();
    mark_redraw();
}

void ImageElement::draw_content(RenderSurface& surface, Point position) {
    picture_.draw(surface, position, size(), op_ ? *op_ : pixel_ops::copy());
}

void ImageElement::measure_x(SizeRange& range) {
    Element::measure_x(range);
    if (grow_) grow_to(range, picture_.points[3].x - picture_.points[0].x);
}

void ImageElement::measure_y(SizeRange& range) {
    Element::measure_y(range);
    if (grow_) grow_to(range, picture_.points[3].y - picture_.points[0].y);
}
