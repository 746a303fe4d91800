#pragma once
// How the table kinds ("htable" along x, "vtable" along y) measure and share
// out their own axis among their children, one after another in child order.
// The other axis is laid out like a default container (see Layout).
//
// Only visible children take part: the caller passes exactly the children
// whose own visible flag is set, in order, and leaves hidden ones where they
// are.
#include <cstdint>
#include <span>
#include <vector>

#include "skin/layout/AxisRule.h"
#include "skin/layout/AxisSpan.h"
#include "skin/layout/SizeRange.h"

class TableLayout {
public:
    // One visible child: its rule along the table's axis, its measured range
    // along that axis, and its "table_ratio" (only ratios above 0 take a part
    // of the space left over once everyone has their preferred extent).
    struct Item {
        AxisRule rule;
        SizeRange range;
        int32_t ratio = 0;
    };

    // Measures the table along its own axis into range (callers pass (0, 0)):
    // the design size floors the preferred extent; the children's
    // contributions add up to the preferred extent, and the minimum is that
    // sum less what every child can give up.
    static void measure(SizeRange& range, int32_t design_extent, std::span<const Item> items);

    // The absolute span of every item, in order, for a table at position with
    // the given extent. Each child first gets its minimum, then the space up
    // to the preferred extents is shared out evenly (a child stops at its
    // preferred extent and passes on the rest), then what remains goes to the
    // children with ratios in proportion. Below the sum of minimums every
    // child shrinks in proportion to its minimum; when the borders alone fill
    // the table every child gets extent 0 at the table's position.
    // Never divides by zero and saturates at the 32-bit range.
    static std::vector<AxisSpan> arrange(int32_t position, int32_t extent,
                                         std::span<const Item> items);
};
