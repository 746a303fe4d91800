#include "widgets/list/DragTracker.h"

#include <cstdlib>

void DragTracker::advance(double seconds) {
    if (seconds > 0) now_ms_ += seconds * 1000;
}

void DragTracker::down(Point point) {
    history_.clear();
    history_.push_back({point, now_ms_});
    down_ = current_ = point;
    pressed_ = true;
    active_ = false;
}

void DragTracker::move(Point point) {
    if (!pressed_) return;
    if (!active_) {
        const int64_t dx = std::llabs(int64_t{point.x} - down_.x);
        const int64_t dy = std::llabs(int64_t{point.y} - down_.y);
        if (dx < kThreshold && dy < kThreshold) return;
        active_ = true;
    }
    current_ = point;
    history_.push_back({point, now_ms_});
    while (history_.size() > kMaxHistory) history_.pop_front();
    drop_old();
}

void DragTracker::drop_old() {
    while (!history_.empty() && now_ms_ - history_.front().ms > kHistoryMs) history_.pop_front();
}

DragTracker::Velocity DragTracker::velocity() const {
    if (!active_) return {};
    // Entries that have grown old since the last move do not count: a stylus
    // held still before it lifts throws nothing.
    for (const Entry& oldest : history_) {
        if (now_ms_ - oldest.ms > kHistoryMs) continue;
        const double elapsed = now_ms_ - oldest.ms;
        if (elapsed < kMinSpanMs) return {};
        return {(oldest.point.x - current_.x) * 1000.0 / elapsed,
                (oldest.point.y - current_.y) * 1000.0 / elapsed};
    }
    return {};
}
