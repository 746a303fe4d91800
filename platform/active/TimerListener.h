#pragma once
// What a TimerHandle tells when its timer fires.
class TimerHandle;

class TimerListener {
public:
    virtual ~TimerListener() = default;
    // Called on the user-interface thread, from the scheduler, once the timer
    // started on this handle has run out. The timer is no longer running, so
    // it may be started again here; the handle may also be deleted here.
    virtual void timer_fired(TimerHandle& timer) = 0;
};
