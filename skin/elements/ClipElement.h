#pragma once
// "clip": draws its children cut to its own rectangle.
#include "skin/elements/Element.h"

class ClipElement : public Element {
public:
    std::u16string_view kind_name() const override { return u"clip"; }
    void draw_content(RenderSurface& surface, Point position) override;
};
