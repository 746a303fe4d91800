#pragma once
// One transport per device folder: a lock on "transport.lock" in the device
// folder (flock, so it goes with the process however it ends) that names the
// holder's pid. Both the daemon and a single run hold it while they work, so
// that two transports never send the same Outbox message.
#include <optional>
#include <string>

#include "platform/UniqueFd.h"

class TransportLock {
public:
    enum class Outcome { Taken, Held, Failed };

    // Tries once to take the lock of the device folder. Taken: *lock holds
    // it. Held: another process has it, *holder_pid says which when it wrote
    // one. Failed: *error says why (one line).
    static Outcome take(const std::string& device_folder, std::optional<TransportLock>& lock,
                        long& holder_pid, std::string* error);

private:
    explicit TransportLock(UniqueFd fd) : fd_(std::move(fd)) {}
    UniqueFd fd_;
};
