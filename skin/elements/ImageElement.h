#pragma once
// "image": the picture "src" drawn sliced into the element's rectangle,
// through the shade op of level "alpha" (-1: the copy op). With "grow" the
// element is at least as large as the picture's outer slicing rectangle.
// Children are laid out but not drawn.
#include <memory>

#include "draw/pictures/Picture.h"
#include "skin/elements/Element.h"

class ImageElement : public Element {
public:
    std::u16string_view kind_name() const override { return u"image"; }
    void load_from_node(Properties& properties, SkinNode node) override;
    void draw_content(RenderSurface& surface, Point position) override;
    void measure_x(SizeRange& range) override;
    void measure_y(SizeRange& range) override;

    const Picture& picture() const { return picture_; }
    // Shows another picture; with grow the layout follows it.
    void set_picture(const Picture& picture);
    bool grows() const { return grow_; }

private:
    Picture picture_;
    std::unique_ptr<PixelOp> op_;
    bool grow_ = false;
};
