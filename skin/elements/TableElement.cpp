#include "skin/elements/TableElement.h"

#include <algorithm>

#include "skin/Properties.h"
#include "skin/layout/TableLayout.h"

TableElement::TableElement(Axis axis) : axis_(axis) {}

void TableElement::insert_child(std::unique_ptr<Element> child, size_t index,
                                Properties& properties, SkinNode child_node,
                                std::u16string_view kind) {
    // The ratio list stays parallel to the children.
    int32_t ratio = properties.integer(child_node, u"table_ratio", 0);
    ratios_.insert(ratios_.begin() + static_cast<std::ptrdiff_t>(std::min(index, ratios_.size())),
                   ratio);
    Element::insert_child(std::move(child), index, properties, child_node, kind);
}

void TableElement::remove_child(Element* child, size_t index) {
    // The base finds a child passed with a wrong index by itself; follow it.
    if (index >= child_count() || this->child(index) != child) index = index_of(child);
    if (index < ratios_.size()) ratios_.erase(ratios_.begin() + static_cast<std::ptrdiff_t>(index));
    Element::remove_child(child, index);
}

void TableElement::child_changed() {
    // Hidden children take no room, so any visibility change moves the others.
    invalidate_layout();
}

void TableElement::set_ratio(size_t index, int32_t ratio) {
    if (index >= ratios_.size() || ratios_[index] == ratio) return;
    ratios_[index] = ratio;
    invalidate_layout();
}

void TableElement::measure_x(SizeRange& range) {
    if (axis_ == Axis::x)
        measure_along(range);
    else
        measure_axis(range, true);
}

void TableElement::measure_y(SizeRange& range) {
    if (axis_ == Axis::y)
        measure_along(range);
    else
        measure_axis(range, false);
}

void TableElement::arrange_x() {
    if (axis_ == Axis::x)
        arrange_along();
    else
        arrange_axis(true);
}

void TableElement::arrange_y() {
    if (axis_ == Axis::y)
        arrange_along();
    else
        arrange_axis(false);
}

namespace {

// The table's own axis: only children whose own visible flag is set take part.
std::vector<TableLayout::Item> items_of(const TableElement& table, bool x_axis) {
    std::vector<TableLayout::Item> items;
    for (size_t i = 0; i < table.child_count(); ++i) {
        Element* c = table.child(i);
        if (!c->visible()) continue;
        items.push_back({x_axis ? c->rule_x() : c->rule_y(), x_axis ? c->range_x() : c->range_y(),
                         i < table.ratios().size() ? table.ratios()[i] : 0});
    }
    return items;
}

}  // namespace

void TableElement::measure_along(SizeRange& range) {
    bool x_axis = axis_ == Axis::x;
    TableLayout::measure(range, x_axis ? design_size().x : design_size().y,
                         items_of(*this, x_axis));
}

void TableElement::arrange_along() {
    bool x_axis = axis_ == Axis::x;
    std::vector<AxisSpan> spans =
        x_axis ? TableLayout::arrange(position().x, size().width, items_of(*this, true))
               : TableLayout::arrange(position().y, size().height, items_of(*this, false));
    size_t next = 0;
    for (size_t i = 0; i < child_count() && next < spans.size(); ++i) {
        Element* c = child(i);
        if (!c->visible()) continue;
        const AxisSpan& span = spans[next++];
        if (x_axis)
            c->set_x_extent(span.position, span.extent);
        else
            c->set_y_extent(span.position, span.extent);
    }
}
