#pragma once
// How a submission reaches a running daemon: a FIFO "transport.wake" in the
// device folder that the daemon holds open. A wake-up is one byte written
// into it; bytes not read yet stand for one wake-up together, so none is lost
// while the daemon works: it empties the FIFO before it reads the Outbox.
#include <optional>
#include <string>

#include "platform/UniqueFd.h"

class WakeFifo {
public:
    // Makes the FIFO (replacing anything else at its path) and opens it for
    // the daemon, never blocking. Nothing with *error set when it cannot.
    static std::optional<WakeFifo> listen(const std::string& device_folder, std::string* error);
    // Wakes the daemon of the device folder. False when no daemon holds the
    // FIFO open (or the path holds no FIFO).
    static bool wake(const std::string& device_folder);

    int fd() const { return fd_.get(); }
    // Reads every pending byte.
    void drain();

private:
    explicit WakeFifo(UniqueFd fd) : fd_(std::move(fd)) {}
    UniqueFd fd_;
};
