#pragma once
// The program reads the messages of a folder one by one, in the order of the
// folder's contents, when it catches up with the store. Every read on its own
// would be a transaction of its own, and each costs the file-locking calls of
// the shared database; so a read also takes the messages that follow in the
// same folder, in one snapshot, and serves them for a moment. Within that
// moment the reads are exactly as if they had all been made at once; any
// change made through the connection must drop them (clear()).
//
// What is read ahead is bounded twice. By rows: a fill that served only the
// message asked for (reads that jump about, as when the chat list shows the
// last message of each chat) makes the next fill small, one that served its
// rows makes the next larger. By text: a fill ends with the message whose body
// takes the text read ahead over a total, so that a huge message ends the
// fills that reach it rather than being read again and again with the
// messages before it; one longer than that total on its own is remembered, and
// later fills pass over it: it is read only when it is asked for.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "platform/SqliteDatabase.h"
#include "platform/store/StoredMessage.h"

class StoreReadAhead {
public:
    explicit StoreReadAhead(SqliteDatabase& db) : db_(db) {}

    // The message at row when it lies in a folder of the store (by store
    // row). Nothing when there is no such message or when the store could not
    // be read; the connection's last_failure() tells the two apart.
    std::optional<StoredMessage> read(int64_t store, int64_t row);
    // Forgets every message read ahead.
    void clear() { rows_.clear(); }

    static constexpr int64_t kMinRows = 4;
    static constexpr int64_t kMaxRows = 256;
    // Body text held for messages not yet asked for, in UTF-16 code units.
    static constexpr size_t kMaxAheadText = 128 * 1024;
    static constexpr std::chrono::milliseconds kLife{50};
    static constexpr size_t kMaxLongRows = 64;

private:
    // Reads the message at row and up to window_ - 1 that follow it.
    bool fill(int64_t store, int64_t row);
    std::optional<StoredMessage> take(int64_t row);

    SqliteDatabase& db_;
    int64_t store_ = 0;
    std::chrono::steady_clock::time_point taken_;
    std::unordered_map<int64_t, StoredMessage> rows_;
    int64_t window_ = kMaxRows;  // the first reads are usually a whole folder's
    bool filled_ = false;
    int64_t served_ = 0;  // messages of the current fill handed out
    // Rows of messages too long to be read ahead. Rows are never reused and
    // texts never change, so the list stays true until a row is deleted, and
    // then does no harm.
    std::vector<int64_t> long_rows_;
};
