#pragma once
// Follows one stylus press: tells a tap from a drag (a drag starts with the
// first move 10 pixels or more away from the down point in x or y) and
// measures the drag's velocity over its last 250 milliseconds. It keeps its
// own clock, advanced by the owner's time steps, so that the velocity is in
// the same time as the animation that uses it.
#include <cstddef>
#include <cstdint>
#include <deque>

#include "draw/Point.h"

class DragTracker {
public:
    struct Velocity {
        double x = 0;
        double y = 0;
    };

    static constexpr int32_t kThreshold = 10;
    static constexpr double kHistoryMs = 250;
    static constexpr double kMinSpanMs = 50;
    static constexpr size_t kMaxHistory = 25;

    void advance(double seconds);
    // Starts a new press at point; the history holds the down point.
    void down(Point point);
    // A move of the pressed stylus. Moves inside the threshold are ignored
    // until the drag becomes active.
    void move(Point point);
    // The press ended; the history stays for velocity().
    void up() { pressed_ = false; }

    bool pressed() const { return pressed_; }
    bool active() const { return active_; }
    // Pixels per second from the oldest point of the last 250 ms to the
    // current one, (oldest - current) per axis; 0 while the history spans
    // less than 50 ms or the drag is not active.
    Velocity velocity() const;
    double now_ms() const { return now_ms_; }

private:
    struct Entry {
        Point point;
        double ms = 0;
    };
    void drop_old();

    std::deque<Entry> history_;
    Point down_;
    Point current_;
    double now_ms_ = 0;
    bool pressed_ = false;
    bool active_ = false;
};
