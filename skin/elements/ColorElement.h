#pragma once
// "color": a filled rectangle in the colour "color" (alpha ignored). Its
// children are laid out but never drawn.
#include "draw/Color.h"
#include "skin/elements/Element.h"

class ColorElement : public Element {
public:
    std::u16string_view kind_name() const override { return u"color"; }
    void load_from_node(Properties& properties, SkinNode node) override;
    void draw_content(RenderSurface& surface, Point position) override;

    Color color() const { return color_; }
    void set_color(Color color);

private:
    // Magenta until loaded, so an element never loaded stands out.
    Color color_{255, 0, 255, 255};
};
