#include "draw/text/AreaScaler.h"

#include <algorithm>
#include <cstdlib>

namespace {

// How one output pixel of an axis is made: the source pixels from `first`
// on, each with a weight. An axis of n source pixels scaled to m is measured
// in units of 1/m source pixel (n * m units in all): source pixel j covers
// [j * m, (j + 1) * m) and output pixel i covers [i * n, (i + 1) * n), so
// every overlap is a whole number and the weights of a pixel add up to n.
struct Tap {
    int32_t first = 0;
    std::vector<uint32_t> weights;
};

std::vector<Tap> taps(int32_t n, int32_t m) {
    std::vector<Tap> result(static_cast<size_t>(m));
    for (int64_t i = 0; i < m; ++i) {
        int64_t lo = i * n, hi = (i + 1) * n;
        Tap& tap = result[static_cast<size_t>(i)];
        tap.first = static_cast<int32_t>(lo / m);
        for (int64_t j = tap.first; j < n && j * m < hi; ++j) {
            int64_t overlap = std::min(hi, (j + 1) * m) - std::max(lo, j * m);
            tap.weights.push_back(static_cast<uint32_t>(overlap));
        }
    }
    return result;
}

}  // namespace

std::vector<uint32_t> AreaScaler::scale_bgra(const uint8_t* pixels, int32_t width, int32_t height,
                                             ptrdiff_t pitch, int32_t out_width,
                                             int32_t out_height) {
    std::vector<uint32_t> out;
    if (pixels == nullptr || width <= 0 || height <= 0 || out_width <= 0 || out_height <= 0)
        return out;
    const std::vector<Tap> across = taps(width, out_width);
    const std::vector<Tap> down = taps(height, out_height);

    // Across first: every source row becomes out_width pixels of four channel
    // sums, each at most 255 * width.
    const size_t row_sums = static_cast<size_t>(out_width) * 4;
    std::vector<uint64_t> rows(row_sums * static_cast<size_t>(height));
    for (int32_t y = 0; y < height; ++y) {
        ptrdiff_t stored = pitch >= 0 ? y : height - 1 - y;
        const uint8_t* src = pixels + stored * std::abs(pitch);
        uint64_t* sums = rows.data() + row_sums * static_cast<size_t>(y);
        for (int32_t x = 0; x < out_width; ++x) {
            const Tap& tap = across[static_cast<size_t>(x)];
            uint64_t b = 0, g = 0, r = 0, a = 0;
            const uint8_t* p = src + static_cast<ptrdiff_t>(tap.first) * 4;
            for (uint32_t w : tap.weights) {
                b += uint64_t{p[0]} * w;
                g += uint64_t{p[1]} * w;
                r += uint64_t{p[2]} * w;
                a += uint64_t{p[3]} * w;
                p += 4;
            }
            uint64_t* s = sums + static_cast<size_t>(x) * 4;
            s[0] = b, s[1] = g, s[2] = r, s[3] = a;
        }
    }

    // Then down, dividing by the whole area (width * height units) once,
    // rounded to nearest.
    const uint64_t area = uint64_t(width) * uint64_t(height);
    out.resize(static_cast<size_t>(out_width) * static_cast<size_t>(out_height));
    for (int32_t y = 0; y < out_height; ++y) {
        const Tap& tap = down[static_cast<size_t>(y)];
        for (int32_t x = 0; x < out_width; ++x) {
            uint64_t c[4] = {0, 0, 0, 0};
            const uint64_t* s = rows.data() + row_sums * static_cast<size_t>(tap.first) +
                                static_cast<size_t>(x) * 4;
            for (uint32_t w : tap.weights) {
                for (int k = 0; k < 4; ++k) c[k] += s[k] * w;
                s += row_sums;
            }
            uint32_t v[4];
            for (int k = 0; k < 4; ++k)
                v[k] = static_cast<uint32_t>(std::min<uint64_t>((c[k] + area / 2) / area, 255));
            // Rounding each channel on its own may lift a colour above its
            // alpha by one; premultiplied pixels never have that.
            for (int k = 0; k < 3; ++k) v[k] = std::min(v[k], v[3]);
            out[static_cast<size_t>(y) * static_cast<size_t>(out_width) + static_cast<size_t>(x)] =
                v[3] << 24 | v[2] << 16 | v[1] << 8 | v[0];
        }
    }
    return out;
}
