#pragma once
// Synthetic SMS histories for trying the application on a realistic store and
// for measuring it: correspondents with the number spellings real phones mix
// (+7 912 345-67-89 next to 89123456789), Russian and English conversations in
// bursts over months, automated senders, delivery reports, a few drafts and
// failed messages, and the newest few incoming messages unread.
//
// The same (messages, chats, seed) always gives the same history, times
// included: the history ends near a fixed moment, not the current time.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/store/StoredMessage.h"

class HistoryGenerator {
public:
    // chats must lie in 1..messages.
    HistoryGenerator(size_t messages, size_t chats, uint64_t seed)
        : messages_(messages), chats_(chats), seed_(seed) {}

    // Exactly `messages` messages from exactly `chats` correspondents (two
    // spellings of one number count as one: their last seven digits agree), in
    // time order.
    std::vector<StoredMessage> generate() const;

private:
    size_t messages_;
    size_t chats_;
    uint64_t seed_;
};
