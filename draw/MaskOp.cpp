#include "draw/MaskOp.h"

#include <algorithm>
#include <cstring>

namespace {

// Built for AVX2 as well and picked at load time, like the other row loops.
[[gnu::target_clones("avx2", "default")]] void mix_row(uint16_t* __restrict d,
                                                       const uint16_t* __restrict s,
                                                       const uint16_t* __restrict m, size_t n) {
    for (size_t i = 0; i < n; ++i) d[i] = MaskOp::mix(s[i], d[i], m[i] & 0x1Fu);
}

}  // namespace

MaskOp::MaskOp(Picture mask) : mask_(std::move(mask)) {
    Size size = mask_.size();
    mask_width_ = size.width;
    mask_height_ = size.height;
}

const uint16_t* MaskOp::mask_row(int32_t y) const {
    if (y < 0 || y >= mask_height_) return nullptr;
    return mask_.data()->pixels().row(y);
}

void MaskOp::row(uint16_t* begin, uint16_t* end, const uint16_t* src, int32_t src_x,
                 int32_t src_y) const {
    if (!src || begin >= end) return;
    const int64_t n = end - begin;
    const uint16_t* m = mask_row(src_y);
    // The columns the mask covers, [lo, hi) of the row; the source is copied
    // on both sides of them.
    int64_t lo = m ? std::clamp<int64_t>(-int64_t{src_x}, 0, n) : n;
    int64_t hi = m ? std::clamp<int64_t>(int64_t{mask_width_} - src_x, lo, n) : n;
    if (lo > 0) std::memcpy(begin, src, static_cast<size_t>(lo) * sizeof(uint16_t));
    if (hi > lo) mix_row(begin + lo, src + lo, m + src_x + lo, static_cast<size_t>(hi - lo));
    if (n > hi) std::memcpy(begin + hi, src + hi, static_cast<size_t>(n - hi) * sizeof(uint16_t));
}

void MaskOp::scaled_row(uint16_t* begin, uint16_t* end, const uint16_t* row, int32_t start,
                        int32_t step, int32_t src_y) const {
    const uint16_t* m = mask_row(src_y);
    const uint32_t width = m ? static_cast<uint32_t>(mask_width_) : 0;
    uint32_t pos = static_cast<uint32_t>(start);
    for (; begin < end; ++begin, pos += static_cast<uint32_t>(step)) {
        uint32_t x = pos >> 10;
        *begin = x < width ? mix(row[x], *begin, m[x] & 0x1Fu) : row[x];
    }
}

void MaskOp::slice_row(uint16_t* begin, uint16_t* end, const uint16_t* row, int32_t start,
                       int32_t shift, int32_t src_y) const {
    if (shift == 0) {
        MaskOp::row(begin, end, row + start, start, src_y);
        return;
    }
    const uint16_t* m = mask_row(src_y);
    const int64_t width = m ? mask_width_ : 0;
    for (int64_t j = start; begin < end; ++begin, ++j) {
        int64_t x = j >> shift;
        *begin = x < width ? mix(row[x], *begin, m[x] & 0x1Fu) : row[x];
    }
}

void MaskOp::wrapped_slice_row(uint16_t* begin, uint16_t* end, const uint16_t* row, int32_t start,
                               int32_t shift, int32_t wrap_to, int32_t wrap_at,
                               int32_t src_y) const {
    // Run by run, each read at its own source columns, as the mask must be.
    int32_t j = start;
    while (begin < end) {
        int32_t run = static_cast<int32_t>(std::min<ptrdiff_t>(end - begin, wrap_at - j));
        MaskOp::slice_row(begin, begin + run, row, j, shift, src_y);
        begin += run;
        j += run;
        if (j == wrap_at) j = wrap_to;
    }
}
