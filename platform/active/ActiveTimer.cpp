#include "platform/active/ActiveTimer.h"

#include "platform/Ticks.h"
#include "platform/active/CActiveScheduler.h"
#include "platform/active/TimerHandle.h"
#include "platform/active/TimerListener.h"

void ActiveTimer::run() { owner_.listener().timer_fired(owner_); }

void ActiveTimer::do_cancel() {
    due_ = ticks::now_ms();
    CActiveScheduler::current().rearm();
}
