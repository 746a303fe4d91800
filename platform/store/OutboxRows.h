#pragma once
// What every network does to the Outbox, inside the caller's write
// transaction: find the messages handed to the transport, move one that has
// gone to the end of Sent Items, and mark one the network refused, which the
// program shows as failed.
#include <cstdint>
#include <vector>

#include "platform/SqliteDatabase.h"
#include "platform/store/StoredMessage.h"

class OutboxRows {
public:
    // Which Outbox messages a network takes.
    enum class Waiting {
        Submitted,          // handed over and not refused yet
        SubmittedOrFailed,  // also those refused before, tried again
    };
    // The messages of the Outbox (folder row outbox) in contents-table order,
    // with their recipients. False when the store could not be read.
    static bool waiting(SqliteDatabase& db, int64_t outbox, Waiting which,
                        std::vector<StoredMessage>& out);
    // Moves the message at row to the end of the folder sent: no longer
    // unsent, submitted or failed, delivered at now. False when the store
    // failed or there is no such message.
    static bool move_to_sent(SqliteDatabase& db, int64_t sent, int64_t row, int64_t now);
    // Leaves the message at row in the Outbox marked failed and no longer
    // submitted. False when the store failed or there is no such message.
    static bool mark_failed(SqliteDatabase& db, int64_t row, int64_t now);
};
