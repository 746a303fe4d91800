#pragma once
// Turns SIGINT, SIGTERM and SIGHUP into an orderly end of the event loop: the
// handler only writes a byte to a pipe (all it may safely do); a thread reads
// it and calls on_signal, which posts the quit to the user-interface thread.
// The previous handlers come back when the watch ends.
#include <csignal>
#include <functional>
#include <thread>

#include "platform/UniqueFd.h"

class SignalWatch {
public:
    explicit SignalWatch(std::function<void()> on_signal);
    ~SignalWatch();
    SignalWatch(const SignalWatch&) = delete;
    SignalWatch& operator=(const SignalWatch&) = delete;

private:
    std::function<void()> on_signal_;
    UniqueFd read_end_;
    UniqueFd write_end_;
    struct sigaction previous_[3] = {};
    std::thread thread_;
};
