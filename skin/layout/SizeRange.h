#pragma once
// What measuring yields for one element along one axis: the extent it would
// like (preferred) and the least it can live with (minimum), in pixels.
// Measuring accumulates into a range, so callers start from (0, 0). An element
// keeps its last result as a cache; preferred = -1 marks that cache invalid.
#include <cstdint>

struct SizeRange {
    int32_t preferred = 0;
    int32_t minimum = 0;

    static constexpr SizeRange invalid() { return {-1, 0}; }
    constexpr bool valid() const { return preferred != -1; }
    friend constexpr bool operator==(const SizeRange&, const SizeRange&) = default;
};
