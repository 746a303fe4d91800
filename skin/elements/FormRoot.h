#pragma once
// The root element of a form: a container that also knows the colour shown
// outside the form's own rectangle ("outside_color", default black), for a
// form smaller than the screen. Forms derive from it.
#include "draw/Color.h"
#include "skin/elements/Element.h"

class FormRoot : public Element {
public:
    void load_from_node(Properties& properties, SkinNode node) override;
    Color outside_color() const { return outside_color_; }

private:
    Color outside_color_{0, 0, 0, 255};
};
