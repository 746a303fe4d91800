#include "skin/elements/FormRoot.h"

#include "skin/Properties.h"

void FormRoot::load_from_node(Properties& properties, SkinNode node) {
    Element::load_from_node(properties, node);
    outside_color_ = properties.color(node, u"outside_color", Color{0, 0, 0, 255});
}
