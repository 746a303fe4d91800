#pragma once
// Runs the completions of active objects on the user-interface thread, one at
// a time, from the event loop, and serves every ActiveTimer with one timer of
// its own. One per process; it belongs to the window object.
//
// The loop drives it: when posted() it calls process_actives(); when the tick
// reaches timer_due() it calls on_timer(). The scheduler wakes a loop that
// waits for events through the wake callback given at construction.
//
// Misuse (a second set_active, notifying an object that is not active or is
// queued already, live objects when the scheduler ends) is a programming
// error and ends the process through fatal().
//
// Threads: notify() and posted() may be called from any thread; everything
// else belongs to the user-interface thread.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/Singleton.h"

class ActiveTimer;
class CActive;

class CActiveScheduler : public Singleton<CActiveScheduler> {
public:
    // wake is called, from whichever thread, after notify() queued an object
    // and whenever timer_due() changed. It must be cheap and thread-safe, and
    // must not call back into the scheduler. It may be empty.
    explicit CActiveScheduler(std::function<void()> wake);
    // Fatal while any object is still active.
    ~CActiveScheduler();

    // The live scheduler; fatal when there is none.
    static CActiveScheduler& current();

    // Marks the object's request as outstanding. Fatal when it is already.
    void set_active(CActive& object);
    // Any thread: the object's request has completed. Queues the object,
    // after those queued before, and makes posted() true. Fatal when the
    // object is not active or already queued.
    void notify(CActive& object);
    // Any thread: whether the loop is to call process_actives(). Set by
    // notify(), cleared only by process_actives(), so it may be true with
    // nothing left to run once a cancel took the queued object.
    bool posted() const { return posted_.load(); }
    // Clears posted(), then takes the queued objects oldest first, including
    // those queued meanwhile, and calls the run of each after marking it
    // inactive. The lock is not held during a run, so a run may notify, start
    // timers, cancel or even process actives itself.
    void process_actives();
    // If the object is active: calls its do_cancel, waits until it is queued
    // (another thread may complete it) and takes it out of the queue
    // inactive, without calling its run. posted() is left as it was, so the
    // other queued objects still run from the loop. Does nothing otherwise.
    void cancel(CActive& object);

    // Cancels the timer if it is active, then makes it due at now +
    // seconds (to the nearest millisecond, halves up), marks it active,
    // appends it to the timer list and re-arms. A timer due at once is
    // queued, never run inside this call. A delay that is not a number counts
    // as none; one of more than 31,000 years as that.
    void start_timer(ActiveTimer& timer, double seconds);
    // Queues every listed timer due within the next millisecond, in list
    // order, and sets timer_due() to the earliest due time of the rest.
    void rearm();
    // The tick (ticks::now_ms()) at which the loop is to call on_timer(); none
    // while no timer is waiting.
    std::optional<int64_t> timer_due() const { return timer_due_; }
    // The loop's call once timer_due() is reached.
    void on_timer() { rearm(); }

    // Objects with a request outstanding or queued.
    int active_count() const { return active_count_.load(); }

private:
    std::function<void()> wake_;

    std::mutex mutex_;
    // Signalled whenever an object is queued; cancel() waits on it.
    std::condition_variable queued_;
    std::deque<CActive*> ready_;  // guarded by mutex_, oldest first
    std::atomic<bool> posted_{false};
    // notify() may run on another thread than process_actives(), hence atomic.
    std::atomic<int> active_count_{0};

    std::vector<ActiveTimer*> timers_;  // running timers in start order
    std::optional<int64_t> timer_due_;
};
