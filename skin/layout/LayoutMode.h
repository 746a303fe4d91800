#pragma once
// How an element is placed along one axis inside its parent. The numbers are
// part of the skin format's meaning and must not change; the names are the
// exact strings of the "anchor_x" and "anchor_y" attributes.
//
// The _NO_SIZE modes place the element like their sized counterparts but add
// nothing to the parent's measured extent, so that, for example, a badge can
// hang over an edge without making its parent grow.
#include <cstdint>
#include <string_view>

enum class LayoutMode : int32_t {
    MIN_SIDE = 0,
    BOTH_SIDE = 1,
    MAX_SIDE = 2,
    RATIO = 3,
    CENTER = 4,
    MIN_SIDE_NO_SIZE = 5,
    MAX_SIDE_NO_SIZE = 6,
    BOTH_SIDE_NO_SIZE = 7,
};

// The mode for an attribute value. The name must match whole and
// case-sensitively; anything else (including an empty or missing attribute)
// yields BOTH_SIDE, the default stretch.
LayoutMode layout_mode_from_name(std::u16string_view name);

// True for the three modes that contribute nothing to the parent's measure.
constexpr bool layout_mode_has_no_size(LayoutMode mode) {
    return mode == LayoutMode::MIN_SIDE_NO_SIZE || mode == LayoutMode::MAX_SIDE_NO_SIZE ||
           mode == LayoutMode::BOTH_SIDE_NO_SIZE;
}
