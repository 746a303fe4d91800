#pragma once
// A request that completes later, handed to the user-interface thread by the
// CActiveScheduler: a derived class starts its request and calls
// set_active(*this); whoever completes it (another thread, a timer) calls
// notify(*this); the scheduler then calls run() on the user-interface thread.
//
// States: inactive; active (a request outstanding, counted by the scheduler);
// queued (completed, waiting in the ready queue, still active); inactive again
// just before run() is called, so that run() may start the next request.
#include <atomic>
#include <cstdint>

class CActiveScheduler;

class CActive {
public:
    CActive();
    // Destroying an object whose request is still outstanding or queued is a
    // programming error: fatal "Active object <number> is already active".
    virtual ~CActive();
    CActive(const CActive&) = delete;
    CActive& operator=(const CActive&) = delete;

    // Whether a request is outstanding or queued. Readable from any thread.
    bool is_active() const { return active_.load(); }
    // This object's place among all active objects constructed in the
    // process, from 0 on; it only names the object in messages.
    uint32_t number() const { return number_; }

protected:
    // Called on the user-interface thread once the request has completed. The
    // object is already inactive.
    virtual void run() = 0;
    // Must make the outstanding request complete soon, that is, lead to
    // notify(*this) on some thread: CActiveScheduler::cancel waits for it.
    virtual void do_cancel() = 0;

private:
    friend class CActiveScheduler;

    // notify() reads the flag on the completing thread.
    std::atomic<bool> active_{false};
    const uint32_t number_;
};
