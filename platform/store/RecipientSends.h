#pragma once
// What a network that sends to one recipient at a time has done with each
// recipient of an Outbox message, kept in store.db beside the message, so
// that a transport that stops half-way (killed, the modem gone) never sends
// to a recipient twice. The table is made on first use: stores made before
// it keep working, and a message deleted takes its records with it.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/SqliteDatabase.h"

// How far the sending to one recipient has come.
enum class RecipientSendState : int {
    NotSent = 0,
    // Handed to the modem; whether it left is not known yet. The modem's
    // message (modem_path) says it once the transport asks again.
    Sending = 1,
    Sent = 2,
};

struct RecipientSend {
    RecipientSendState state = RecipientSendState::NotSent;
    std::string modem_path;  // the modem's own name of the message, when handed over
};

class RecipientSends {
public:
    // Creates the table (and the index that finds a received message again)
    // when missing, inside the caller's write transaction.
    static bool prepare(SqliteDatabase& db);
    // One record per recipient position of the message at row, NotSent where
    // none is kept. False when the store could not be read.
    static bool read(SqliteDatabase& db, int64_t row, size_t recipients,
                     std::vector<RecipientSend>& out);
    static bool write(SqliteDatabase& db, int64_t row, size_t position, const RecipientSend& send);
    // Forgets the records of the message at row (it has gone to Sent Items).
    static bool forget(SqliteDatabase& db, int64_t row);
};
