#pragma once
// The millisecond tick: a monotonic clock that never jumps with the wall
// clock. Timers, the frame tick and the scripted run all read it, so they
// agree on what "now" is.
#include <chrono>
#include <cstdint>

namespace ticks {

// Milliseconds since an arbitrary fixed point of this boot.
inline int64_t now_ms() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace ticks
