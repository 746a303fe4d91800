#pragma once
// The layout bookkeeping every element carries: its absolute position and
// extent per axis, its measured range per axis (cached until invalidated) and
// the layout-dirty flag. The element owns one and drives it; this class holds
// the rules that make re-applying an unchanged extent cost one comparison.
//
// The owner always sets x before y: setting x marks the state dirty and only
// setting y clears it, so a y pass always follows any x change, even when the
// y values themselves are unchanged (a new width may change the height).
#include <cstdint>

#include "skin/layout/AxisSpan.h"
#include "skin/layout/SizeRange.h"

class LayoutState {
public:
    AxisSpan x() const { return x_; }
    AxisSpan y() const { return y_; }
    bool dirty() const { return dirty_; }

    // Stores the x span unless it is unchanged and the state is clean. When
    // stored, the state turns dirty and the y range cache is dropped (height
    // may follow width); returns true, and the owner then redraws, tells its
    // layout observer the width and arranges its children along x.
    bool set_x_extent(int32_t x, int32_t width);

    // Stores the y span unless it is unchanged and the state is clean. When
    // stored, the dirty flag clears; returns true and the owner redraws, tells
    // its observer the height and arranges its children along y.
    bool set_y_extent(int32_t y, int32_t height);

    // Drops both range caches and marks the state dirty. The owner calls this
    // on itself and on every ancestor after a change that affects measuring.
    void invalidate();

    // The cached range along x or y; when invalid, measure(SizeRange&) is
    // called on a (0, 0) range and its result kept.
    template <typename Measure>
    SizeRange range_x(Measure&& measure) {
        return cached(x_range_, measure);
    }
    template <typename Measure>
    SizeRange range_y(Measure&& measure) {
        return cached(y_range_, measure);
    }

private:
    template <typename Measure>
    static SizeRange cached(SizeRange& cache, Measure& measure) {
        if (!cache.valid()) {
            cache = {0, 0};
            measure(cache);
        }
        return cache;
    }

    AxisSpan x_;
    AxisSpan y_;
    SizeRange x_range_ = SizeRange::invalid();
    SizeRange y_range_ = SizeRange::invalid();
    // A new element has never been arranged.
    bool dirty_ = true;
};
