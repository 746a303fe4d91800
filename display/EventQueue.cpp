#include "display/EventQueue.h"

#include <chrono>
#include <utility>

void EventQueue::push(WindowEvent event) {
    {
        std::lock_guard lock(mutex_);
        events_.push_back(std::move(event));
    }
    ready_.notify_one();
}

void EventQueue::push_front(WindowEvent event) {
    {
        std::lock_guard lock(mutex_);
        events_.push_front(std::move(event));
    }
    ready_.notify_one();
}

void EventQueue::wake() {
    {
        std::lock_guard lock(mutex_);
        if (wake_queued_) return;
        wake_queued_ = true;
        events_.push_back(WindowEvent{});
    }
    ready_.notify_one();
}

bool EventQueue::try_pop(WindowEvent& event) {
    std::lock_guard lock(mutex_);
    return pop_locked(event);
}

bool EventQueue::wait_pop(WindowEvent& event, int32_t timeout_ms) {
    std::unique_lock lock(mutex_);
    auto has_event = [this] { return !events_.empty(); };
    if (timeout_ms < 0)
        ready_.wait(lock, has_event);
    else if (!ready_.wait_for(lock, std::chrono::milliseconds(timeout_ms), has_event))
        return false;
    return pop_locked(event);
}

bool EventQueue::pop_locked(WindowEvent& event) {
    if (events_.empty()) return false;
    event = std::move(events_.front());
    events_.pop_front();
    if (event.kind == WindowEvent::Kind::Wake) wake_queued_ = false;
    return true;
}
