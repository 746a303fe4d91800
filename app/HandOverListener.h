#pragma once
// The running instance's side of the hand-over: a thread that accepts later
// starts on the listening socket, reads each one's command line and gives it
// to the application.
//
// Connections are read side by side, each within a few seconds of its
// arrival, so that a peer that connects and sends nothing, sends too little
// or sends a damaged count only loses its own connection: the next start is
// still taken at once, and the user-interface thread never waits on a peer.
#include <functional>
#include <memory>
#include <thread>

#include "app/HandOver.h"
#include "platform/UniqueFd.h"

class HandOverListener {
public:
    // Starts the thread on listening, a bound and listening AF_UNIX stream
    // socket, which the listener owns from now on. Each complete command line
    // goes to deliver on the listener thread, which must neither block for long
    // nor throw.
    // Null, with one log line, when the thread cannot be started.
    static std::unique_ptr<HandOverListener> start(UniqueFd listening,
                                                   std::function<void(HandOver)> deliver);
    // Stops the thread and closes the socket and every half-read connection.
    ~HandOverListener();
    HandOverListener(const HandOverListener&) = delete;
    HandOverListener& operator=(const HandOverListener&) = delete;

private:
    HandOverListener(UniqueFd listening, UniqueFd stop_read, UniqueFd stop_write,
                     std::function<void(HandOver)> deliver);
    void run();

    UniqueFd listening_;
    UniqueFd stop_read_, stop_write_;
    std::function<void(HandOver)> deliver_;
    std::thread thread_;
};
