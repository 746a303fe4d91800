#include "skin/layout/Layout.h"

#include <algorithm>

#include "skin/layout/LayoutArithmetic.h"

using layout_arithmetic::saturate32;

AxisSpan Layout::place(const AxisRule& rule, int32_t parent_extent, int32_t preferred) {
    // 64-bit throughout: P - a - b overflows 32 bits for extreme borders.
    const int64_t p = parent_extent;
    const int64_t a = rule.border_min;
    const int64_t b = rule.border_max;
    const int64_t pref = preferred;

    int64_t extent = 0;
    switch (rule.mode) {
        case LayoutMode::MIN_SIDE:
            extent = std::min(pref, p - a);
            break;
        case LayoutMode::BOTH_SIDE:
        case LayoutMode::BOTH_SIDE_NO_SIZE:
            extent = p - a - b;
            break;
        case LayoutMode::MAX_SIDE:
            extent = std::min(pref, p - b);
            break;
        case LayoutMode::RATIO:
        case LayoutMode::CENTER:
            extent = std::min(pref, p - a - b);
            break;
        case LayoutMode::MIN_SIDE_NO_SIZE:
        case LayoutMode::MAX_SIDE_NO_SIZE:
            extent = pref;
            break;
    }
    // The offset is computed from the extent actually given, so that a child
    // squeezed to 0 still sits against its edge.
    extent = std::max<int64_t>(extent, 0);

    int64_t offset = a;
    switch (rule.mode) {
        case LayoutMode::MAX_SIDE:
        case LayoutMode::MAX_SIDE_NO_SIZE:
            offset = std::max<int64_t>(0, p - extent - b);
            break;
        case LayoutMode::CENTER:
            offset = a + std::max<int64_t>(0, (p - a - extent - b) / 2);
            break;
        default:
            break;
    }
    return {saturate32(offset), saturate32(extent)};
}

AxisSpan Layout::place_at(const AxisRule& rule, AxisSpan parent, int32_t preferred) {
    const AxisSpan local = place(rule, parent.extent, preferred);
    return {saturate32(int64_t{parent.position} + local.position), local.extent};
}

Rect Layout::place_child(const Rect& parent, const AxisRule& x, const AxisRule& y,
                         int32_t preferred_width, int32_t preferred_height) {
    // Rect's width may itself overflow for a degenerate parent; take it in 64 bits.
    const AxisSpan px{parent.left, saturate32(int64_t{parent.right} - parent.left)};
    const AxisSpan py{parent.top, saturate32(int64_t{parent.bottom} - parent.top)};
    const AxisSpan cx = place_at(x, px, preferred_width);
    const AxisSpan cy = place_at(y, py, preferred_height);
    return {cx.position, cy.position, saturate32(int64_t{cx.position} + cx.extent),
            saturate32(int64_t{cy.position} + cy.extent)};
}

int64_t Layout::contribution(const AxisRule& rule, const SizeRange& child) {
    if (layout_mode_has_no_size(rule.mode)) return 0;
    return int64_t{rule.border_min} + child.preferred + rule.border_max;
}

void Layout::add_design_size(SizeRange& range, int32_t design_extent) {
    range.preferred = std::max(range.preferred, design_extent);
    range.minimum = std::max(range.minimum, design_extent);
}

void Layout::add_child(SizeRange& range, const AxisRule& rule, const SizeRange& child) {
    const int64_t c = contribution(rule, child);
    range.preferred = saturate32(std::max<int64_t>(range.preferred, c));
    range.minimum =
        saturate32(std::max<int64_t>(range.minimum, c + child.minimum - child.preferred));
}
