#include "skin/layout/TableLayout.h"

#include <algorithm>

#include "skin/layout/Layout.h"
#include "skin/layout/LayoutArithmetic.h"

using layout_arithmetic::mul_div_floor;
using layout_arithmetic::saturate32;

namespace {

// One child while the table shares out its extent; everything 64-bit.
struct Slot {
    int64_t preferred = 0;  // never below minimum, see below
    int64_t minimum = 0;
    int64_t borders = 0;
    int64_t size = 0;
};

// Places one child in its slot and advances the running position.
AxisSpan place_in_slot(const TableLayout::Item& item, int64_t size, int64_t borders,
                       int64_t& running) {
    const int64_t slot = size + borders;
    const AxisSpan local = Layout::place(item.rule, saturate32(slot), saturate32(size));
    const AxisSpan span{saturate32(running + local.position), local.extent};
    running += slot;
    return span;
}

// Shares extra out evenly among the children below their preferred extent, in
// passes: a child that would pass its preferred extent stops there and its
// excess is shared out again among the others in the next pass.
void share_out(std::vector<Slot>& slots, int64_t extra) {
    int64_t n = 0;
    for (const Slot& s : slots)
        if (s.size < s.preferred) ++n;
    // extra never exceeds what the children below their preferred extent still
    // need, so every pass either places all of it or caps at least one child.
    while (extra > 0 && n > 0) {
        int64_t visited = 0;
        int64_t counted = 0;
        int64_t leftover = 0;
        for (Slot& s : slots) {
            if (s.size >= s.preferred) continue;
            const int64_t share =
                mul_div_floor(visited + 1, extra, n) - mul_div_floor(visited, extra, n);
            ++visited;
            const int64_t need = s.preferred - s.size;
            if (share < need) {
                s.size += share;
                ++counted;
            } else {
                s.size = s.preferred;
                leftover += share - need;
            }
        }
        n = counted;
        extra = leftover;
    }
}

}  // namespace

void TableLayout::measure(SizeRange& range, int32_t design_extent, std::span<const Item> items) {
    range.preferred = std::max(range.preferred, design_extent);
    int64_t sum_preferred = 0;
    int64_t sum_give = 0;
    for (const Item& item : items) {
        sum_preferred += Layout::contribution(item.rule, item.range);
        sum_give += int64_t{item.range.preferred} - item.range.minimum;
    }
    range.preferred = saturate32(std::max<int64_t>(range.preferred, sum_preferred));
    range.minimum = saturate32(std::max<int64_t>(range.minimum, sum_preferred - sum_give));
}

std::vector<AxisSpan> TableLayout::arrange(int32_t position, int32_t extent,
                                           std::span<const Item> items) {
    std::vector<AxisSpan> spans;
    spans.reserve(items.size());

    // A negative range is meaningless; it counts as 0. A child whose minimum
    // exceeds its preferred extent (text that may grow but not shrink) is
    // treated as preferring its minimum: it never takes a share, and the space
    // it cannot use stays with the others instead of being lost.
    std::vector<Slot> slots(items.size());
    int64_t avail = extent;
    int64_t sum_preferred = 0;
    int64_t sum_minimum = 0;
    int64_t sum_ratio = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        const Item& item = items[i];
        Slot& s = slots[i];
        s.minimum = std::max<int64_t>(item.range.minimum, 0);
        s.preferred = std::max<int64_t>(item.range.preferred, s.minimum);
        s.borders = int64_t{item.rule.border_min} + item.rule.border_max;
        s.size = s.minimum;
        avail -= s.borders;
        sum_preferred += s.preferred;
        sum_minimum += s.minimum;
        if (item.ratio > 0) sum_ratio += item.ratio;
    }

    if (avail < 1) {
        for (size_t i = 0; i < items.size(); ++i) spans.push_back({position, 0});
        return spans;
    }

    int64_t running = position;
    if (avail <= sum_minimum) {
        // Shrink below the minimums in proportion to them. avail >= 1 here, so
        // sum_minimum >= 1 and the division is safe.
        int64_t s_before = 0;
        for (size_t i = 0; i < items.size(); ++i) {
            const int64_t s_after = s_before + slots[i].minimum;
            const int64_t share = mul_div_floor(avail, s_after, sum_minimum) -
                                  mul_div_floor(avail, s_before, sum_minimum);
            s_before = s_after;
            spans.push_back(place_in_slot(items[i], share, slots[i].borders, running));
        }
        return spans;
    }

    int64_t extra = 0;
    int64_t rest = 0;
    if (avail <= sum_preferred) {
        extra = avail - sum_minimum;
    } else {
        extra = sum_preferred - sum_minimum;
        rest = avail - sum_preferred;
    }
    share_out(slots, extra);

    // Ratios take what is left beyond the preferred extents; without any
    // positive ratio it stays unused at the end of the table.
    int64_t q = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        int64_t size = slots[i].size;
        const int64_t r = items[i].ratio;
        if (r > 0) {
            size += mul_div_floor(rest, q + r, sum_ratio) - mul_div_floor(rest, q, sum_ratio);
            q += r;
        }
        spans.push_back(place_in_slot(items[i], size, slots[i].borders, running));
    }
    return spans;
}
