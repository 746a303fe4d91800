#pragma once
// "progress": a bar whose child "#line" fills the given share (0..1) of the
// element along each axis where the line has a sized mode; the skin gives the
// line MIN_SIDE (or another sized mode) along the axis that fills and
// BOTH_SIDE along the other. The other children are laid out as usual.
#include "skin/elements/Element.h"

class ProgressElement : public Element {
public:
    std::u16string_view kind_name() const override { return u"progress"; }
    void load_from_node(Properties& properties, SkinNode node) override;
    void arrange_x() override;
    void arrange_y() override;

    // Clamped to 0..1; re-runs layout when it changed.
    void set_value(double value);
    double value() const { return value_; }
    Element* line() const { return line_; }

private:
    void arrange_line(bool x_axis);

    double value_ = 0;
    Element* line_ = nullptr;
};
