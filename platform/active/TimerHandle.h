#pragma once
// A one-shot timer of any length as its holders see it: start it, ask whether
// it is running, and hear from the listener when it fires. All timers share the
// scheduler's single timer; they fire from the event loop on the
// user-interface thread, never inside start().
#include "platform/active/ActiveTimer.h"

class TimerListener;

class TimerHandle {
public:
    // listener (not owned) must outlive the handle.
    explicit TimerHandle(TimerListener& listener) : listener_(listener), timer_(*this) {}
    // Cancels the timer if it is running: the listener is not told.
    ~TimerHandle();
    TimerHandle(const TimerHandle&) = delete;
    TimerHandle& operator=(const TimerHandle&) = delete;

    // Starts the timer to fire after seconds (to the nearest millisecond). A
    // running timer is restarted: it fires once, counted from now. Needs the
    // scheduler.
    void start(double seconds);
    // From start() until the listener is told, or the timer is cancelled.
    bool running() const { return timer_.is_active(); }
    // Cancels a running timer without telling the listener.
    void cancel();

    TimerListener& listener() const { return listener_; }

private:
    TimerListener& listener_;
    ActiveTimer timer_;
};
