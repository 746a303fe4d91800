#pragma once
// The active object behind a TimerHandle: its request is "the due tick has
// come". The scheduler keeps running timers in its timer list and queues each
// one once its due tick is reached.
#include <cstdint>

#include "platform/active/CActive.h"

class TimerHandle;

class ActiveTimer : public CActive {
public:
    // owner is the handle that owns this timer; its listener is told.
    explicit ActiveTimer(TimerHandle& owner) : owner_(owner) {}

    // The tick (ticks::now_ms()) at which the timer is due; meaningful while
    // it is active.
    int64_t due_ms() const { return due_; }

protected:
    // Tells the owner's listener. The listener may delete the handle, and
    // this timer with it.
    void run() override;
    // Makes the timer due now and re-arms, so that it is queued at once.
    void do_cancel() override;

private:
    friend class CActiveScheduler;

    TimerHandle& owner_;
    int64_t due_ = 0;
};
