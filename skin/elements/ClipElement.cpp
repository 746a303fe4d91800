#include "skin/elements/ClipElement.h"

#include "draw/ClipScope.h"

void ClipElement::draw_content(RenderSurface& surface, Point position) {
    ClipScope clip(surface, position, size());
    Element::draw_content(surface, position);
}
