#include "skin/elements/ColorElement.h"

#include "skin/Properties.h"

void ColorElement::load_from_node(Properties& properties, SkinNode node) {
    Element::load_from_node(properties, node);
    color_ = properties.color(node, u"color", Color{0, 0, 0, 255});
    mark_redraw();
}

void ColorElement::set_color(Color color) {
    if (color == color_) return;
    color_ = color;
    mark_redraw();
}

void ColorElement::draw_content(RenderSurface& surface, Point position) {
    // The children only take part in layout: a colour element is a backdrop
    // whose children are there to give it a size.
    surface.fill(position, size(), color_);
}
