#include "platform/active/CActiveScheduler.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "platform/Log.h"
#include "platform/Ticks.h"
#include "platform/Utf16.h"
#include "platform/active/ActiveTimer.h"
#include "platform/active/CActive.h"

namespace {

// About 31,700 years: keeps due times far from overflowing the tick.
constexpr double kLongestDelayMs = 1e15;

// seconds in milliseconds, rounded half up. A delay that is not a number
// counts as none, one beyond the limit as the limit.
int64_t delay_ms(double seconds) {
    double ms = std::floor(seconds * 1000.0 + 0.5);
    if (std::isnan(ms)) return 0;
    return static_cast<int64_t>(std::clamp(ms, -kLongestDelayMs, kLongestDelayMs));
}

std::u16string object_text(const char16_t* prefix, const CActive& object, const char16_t* state) {
    return prefix + utf16::number(object.number()) + state;
}

}  // namespace

CActiveScheduler::CActiveScheduler(std::function<void()> wake) : wake_(std::move(wake)) {}

CActiveScheduler::~CActiveScheduler() {
    if (int count = active_count_.load(); count != 0)
        fatal(u"Some active objects still live while scheduler is terminating active_counter=" +
                  utf16::number(count),
              u"CActiveScheduler::~CActiveScheduler()");
}

CActiveScheduler& CActiveScheduler::current() {
    CActiveScheduler* scheduler = instance();
    if (scheduler == nullptr) fatal(u"No active scheduler", u"CActiveScheduler::current()");
    return *scheduler;
}

void CActiveScheduler::set_active(CActive& object) {
    if (object.active_.load())
        fatal(object_text(u"Object ", object, u" is already active"),
              u"CActiveScheduler::set_active()");
    object.active_.store(true);
    ++active_count_;
}

void CActiveScheduler::notify(CActive& object) {
    if (!object.active_.load())
        fatal(object_text(u"Active object ", object, u" is not active"),
              u"CActiveScheduler::notify()");
    {
        std::lock_guard lock(mutex_);
        // Queued twice, the object would run a second time after its first
        // run, when it may have started another request or be gone.
        if (std::find(ready_.begin(), ready_.end(), &object) != ready_.end())
            fatal(object_text(u"Active object ", object, u" is already queued"),
                  u"CActiveScheduler::notify()");
        ready_.push_back(&object);
        // Set under the lock after the object is queued: process_actives
        // clears the flag before it looks at the queue, so no queued object
        // is left without the flag that makes the loop come for it.
        posted_.store(true);
    }
    queued_.notify_all();
    if (wake_) wake_();
}

void CActiveScheduler::process_actives() {
    posted_.store(false);
    for (;;) {
        CActive* object;
        {
            std::lock_guard lock(mutex_);
            if (ready_.empty()) return;
            object = ready_.front();
            ready_.pop_front();
        }
        if (!object->active_.load())
            fatal(object_text(u"Active object ", *object, u" is not marked active"),
                  u"CActiveScheduler::process_actives()");
        object->active_.store(false);
        --active_count_;
        // The run may delete the object: nothing of it is touched afterwards.
        object->run();
    }
}

void CActiveScheduler::cancel(CActive& object) {
    if (!object.active_.load()) return;
    object.do_cancel();
    std::unique_lock lock(mutex_);
    for (;;) {
        auto queued = std::find(ready_.begin(), ready_.end(), &object);
        if (queued != ready_.end()) {
            ready_.erase(queued);
            object.active_.store(false);
            --active_count_;
            return;
        }
        queued_.wait(lock);
    }
}

void CActiveScheduler::start_timer(ActiveTimer& timer, double seconds) {
    cancel(timer);
    timer.due_ = ticks::now_ms() + delay_ms(seconds);
    set_active(timer);
    timers_.push_back(&timer);
    rearm();
}

void CActiveScheduler::rearm() {
    const std::optional<int64_t> before = timer_due_;
    timer_due_.reset();
    const int64_t now = ticks::now_ms();
    std::optional<int64_t> smallest;
    for (auto it = timers_.begin(); it != timers_.end();) {
        ActiveTimer* timer = *it;
        const int64_t remaining = timer->due_ - now;
        if (remaining < 1) {
            // Through the ready queue, after what is already waiting there.
            it = timers_.erase(it);
            notify(*timer);
            continue;
        }
        if (!smallest || remaining < *smallest) smallest = remaining;
        ++it;
    }
    if (smallest) timer_due_ = now + *smallest;
    if (timer_due_ != before && wake_) wake_();
}
