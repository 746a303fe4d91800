#pragma once
// Window events waiting to be delivered, filled from any thread and emptied
// by the user-interface thread. The headless window waits on it; the SDL
// window keeps its injected events and capture notices in it.
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>

#include "display/WindowEvent.h"

class EventQueue {
public:
    // Appends event and wakes a waiter.
    void push(WindowEvent event);
    // Puts event ahead of all queued ones: the window system's own notices
    // (a capture that ended) come before what the user did meanwhile.
    void push_front(WindowEvent event);
    // Appends a Wake event unless one is queued already, so that wakes that
    // nobody takes do not pile up.
    void wake();

    // Takes the first event into event; false when there is none.
    bool try_pop(WindowEvent& event);
    // As try_pop, waiting for an event up to timeout_ms (-1: without limit).
    // Sleeps on a condition variable while it waits.
    bool wait_pop(WindowEvent& event, int32_t timeout_ms);

private:
    bool pop_locked(WindowEvent& event);

    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<WindowEvent> events_;
    bool wake_queued_ = false;
};
