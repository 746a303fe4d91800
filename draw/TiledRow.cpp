#include "draw/TiledRow.h"

#include <algorithm>
#include <cstring>

namespace tiled_row {

int32_t lay_out(uint16_t* out, size_t count, const uint16_t* row, int32_t start, int32_t shift,
                int32_t wrap_to, int32_t wrap_at) {
    const size_t period = static_cast<size_t>(wrap_at - wrap_to);
    const int32_t after =
        wrap_to + static_cast<int32_t>((static_cast<size_t>(start - wrap_to) + count) % period);
    if (count == 0) return start;
    // One whole period (or less) pixel by pixel; everything after it repeats it.
    size_t first = std::min(count, period);
    int32_t j = start;
    for (size_t i = 0; i < first; ++i) {
        out[i] = row[j >> shift];
        if (++j == wrap_at) j = wrap_to;
    }
    if (period == 1) {
        std::fill(out + 1, out + count, out[0]);
        return after;
    }
    // Doubling: while `done` is a whole number of periods, the next `done`
    // pixels are a copy of the first ones.
    for (size_t done = first; done < count;) {
        size_t n = std::min(done, count - done);
        std::memcpy(out + done, out, n * sizeof(uint16_t));
        done += n;
    }
    return after;
}

}  // namespace tiled_row
