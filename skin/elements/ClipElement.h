#pragma once
// "clip": draws its children cut to its own rectangle.
#include "skin/elements/Element.h"

class ClipElement : public Element {
public:
    void draw_content(RenderSurface& surface, Point position) override;
};
