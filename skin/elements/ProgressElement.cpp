#include "skin/elements/ProgressElement.h"

#include <cmath>

#include "skin/Properties.h"
#include "skin/layout/Layout.h"
#include "skin/layout/LayoutArithmetic.h"

void ProgressElement::load_from_node(Properties& properties, SkinNode node) {
    // The line of an earlier load goes with the old children.
    line_ = nullptr;
    Element::load_from_node(properties, node);
    line_ = find_element(u"#line");
}

void ProgressElement::set_value(double value) {
    // Anything that is not a number shows an empty bar.
    if (!(value >= 0)) value = 0;
    if (value > 1) value = 1;
    if (value == value_) return;
    value_ = value;
    invalidate_layout();
}

void ProgressElement::arrange_x() { arrange_line(true); }

void ProgressElement::arrange_y() { arrange_line(false); }

void ProgressElement::arrange_line(bool x_axis) {
    const AxisSpan own =
        x_axis ? AxisSpan{position().x, size().width} : AxisSpan{position().y, size().height};
    for (size_t i = 0; i < child_count(); ++i) {
        Element* c = child(i);
        const AxisRule& rule = x_axis ? c->rule_x() : c->rule_y();
        int32_t preferred = 0;
        if (c == line_) {
            // The line wants its share of what its borders leave.
            SizeRange none{0, 0};
            int64_t borders = Layout::contribution(rule, none);
            double want = std::floor(static_cast<double>(int64_t{own.extent} - borders) * value_);
            preferred = want < 1 ? 0 : layout_arithmetic::saturate32(static_cast<int64_t>(want));
        } else {
            preferred = x_axis ? c->range_x().preferred : c->range_y().preferred;
        }
        const AxisSpan span = Layout::place_at(rule, own, preferred);
        if (x_axis)
            c->set_x_extent(span.position, span.extent);
        else
            c->set_y_extent(span.position, span.extent);
    }
}
