#pragma once
// One command line that a later start handed over to the running instance,
// together with the connection its sender waits on.
//
// The wire format, sender to receiver: a 4-byte little-endian byte count,
// then the command line as UTF-16LE without a terminating zero. The receiver
// answers one byte once the command line is queued; a connection closed
// without that byte tells the sender that nobody took its command line.
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

#include "platform/UniqueFd.h"

class HandOver {
public:
    // The largest command line carried, in bytes. A count above it is
    // refused by the receiver, and a sender does not try.
    static constexpr size_t kMaxBytes = 64 * 1024;
    // The text an empty command line travels as; the receiver hands it on
    // unchanged, so telling it from "" is the application's job.
    static constexpr std::u16string_view kEmptyCommandLine = u"%CommandLineEmpty%";

    // Takes the connection (non-blocking) the command line came on.
    HandOver(UniqueFd connection, std::u16string command_line)
        : connection_(std::move(connection)), command_line_(std::move(command_line)) {}
    HandOver(HandOver&&) noexcept = default;
    HandOver& operator=(HandOver&&) noexcept = default;

    // The command line as received, "%CommandLineEmpty%" included.
    const std::u16string& command_line() const { return command_line_; }

    // Tells the sender that its command line is queued, and closes the
    // connection. Any one thread may call it (the hand-over moves between
    // threads, it is not shared); later calls do nothing. A hand-over
    // dropped without it closes the connection unanswered, and the sender
    // starts on its own.
    void acknowledge();

private:
    UniqueFd connection_;
    std::u16string command_line_;
};
