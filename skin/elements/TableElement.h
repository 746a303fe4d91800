#pragma once
// "htable" and "vtable": children placed one after another along x (htable)
// or y (vtable), sharing the table's extent by their measured ranges and
// their "table_ratio"s. Hidden children take no room, so a child's visibility
// change re-runs layout. The other axis is laid out as in any container.
#include <cstdint>
#include <vector>

#include "skin/elements/Element.h"

class TableElement : public Element {
public:
    enum class Axis { x, y };

    explicit TableElement(Axis axis);

    void remove_child(Element* child, size_t index) override;
    void insert_child(std::unique_ptr<Element> child, size_t index, Properties& properties,
                      SkinNode child_node, std::u16string_view kind) override;
    void child_changed() override;
    void arrange_x() override;
    void arrange_y() override;
    void measure_x(SizeRange& range) override;
    void measure_y(SizeRange& range) override;

    Axis axis() const { return axis_; }
    // The ratio of every child, in child order.
    const std::vector<int32_t>& ratios() const { return ratios_; }
    void set_ratio(size_t index, int32_t ratio);

private:
    void measure_along(SizeRange& range);
    void arrange_along();

    Axis axis_;
    std::vector<int32_t> ratios_;
};

class HTableElement : public TableElement {
public:
    std::u16string_view kind_name() const override { return u"htable"; }
    HTableElement() : TableElement(Axis::x) {}
};

class VTableElement : public TableElement {
public:
    std::u16string_view kind_name() const override { return u"vtable"; }
    VTableElement() : TableElement(Axis::y) {}
};
