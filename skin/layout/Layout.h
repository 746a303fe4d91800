#pragma once
// The per-element layout rules, independent of any element class: how a child
// is placed along one axis inside its parent's extent, and how a default
// container measures itself from its design size and its children.
//
// Elements call these per node and per axis: measuring bottom-up with
// add_design_size and add_child on a range that starts at (0, 0), arranging
// top-down with place for each child, x before y (a child's height may depend
// on its width).
#include <cstdint>

#include "draw/Rect.h"
#include "skin/layout/AxisRule.h"
#include "skin/layout/AxisSpan.h"
#include "skin/layout/SizeRange.h"

class Layout {
public:
    // The child's offset from the parent's start and its extent, for a parent
    // of extent parent_extent and a child whose preferred extent is preferred.
    // The extent is never negative: a parent narrower than the borders gives
    // sized modes 0, while MIN_SIDE_NO_SIZE and MAX_SIDE_NO_SIZE keep the
    // preferred extent even when it exceeds the parent. MAX_SIDE and
    // MAX_SIDE_NO_SIZE ignore border_min. Results saturate at the 32-bit range.
    static AxisSpan place(const AxisRule& rule, int32_t parent_extent, int32_t preferred);

    // The same, but with the parent's absolute start added to the offset.
    static AxisSpan place_at(const AxisRule& rule, AxisSpan parent, int32_t preferred);

    // Both axes at once, for callers that already know both preferred extents
    // (a child whose height follows its width must use place_at per axis).
    static Rect place_child(const Rect& parent, const AxisRule& x, const AxisRule& y,
                            int32_t preferred_width, int32_t preferred_height);

    // What a child adds to its parent's preferred extent: 0 for the _NO_SIZE
    // modes, otherwise border_min + preferred + border_max, in 64 bits so that
    // sums over many children cannot overflow.
    static int64_t contribution(const AxisRule& rule, const SizeRange& child);

    // Measuring step 1 of every container: the design size is a floor for
    // both the preferred and the minimum extent.
    static void add_design_size(SizeRange& range, int32_t design_extent);

    // Measuring step 2 of the default container, once per child, visible or
    // not: the range grows to hold the child's contribution, and its minimum
    // to hold the contribution shrunk by what the child can give up.
    static void add_child(SizeRange& range, const AxisRule& rule, const SizeRange& child);
};
