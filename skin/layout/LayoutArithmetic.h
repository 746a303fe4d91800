#pragma once
// Arithmetic shared by the layout units. Skin values are 32-bit and may be
// anything a damaged or hostile skin file holds, so layout computes in 64 bits
// (128 for products of sums) and saturates when it hands results back as
// 32-bit screen coordinates; nothing here may overflow.
#include <cstdint>
#include <limits>

namespace layout_arithmetic {

constexpr int32_t saturate32(int64_t v) {
    if (v > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (v < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

// floor(a * b / c) for a, b >= 0 and c > 0 without overflowing the product.
// The result is at most a when b <= c, which is how every caller uses it.
inline int64_t mul_div_floor(int64_t a, int64_t b, int64_t c) {
    __extension__ typedef __int128 Wide;
    return static_cast<int64_t>(static_cast<Wide>(a) * b / c);
}

}  // namespace layout_arithmetic
