#include "platform/active/TimerHandle.h"

#include "platform/active/CActiveScheduler.h"

TimerHandle::~TimerHandle() { cancel(); }

void TimerHandle::start(double seconds) {
    CActiveScheduler::current().start_timer(timer_, seconds);
}

void TimerHandle::cancel() {
    if (timer_.is_active()) CActiveScheduler::current().cancel(timer_);
}
