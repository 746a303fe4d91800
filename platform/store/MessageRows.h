#pragma once
// Messages as rows of store.db: the columns every read takes, a row turned
// into a StoredMessage, recipients, and the insertion of a new message at the
// end of its folder's contents table.
#include <cstdint>

#include "platform/SqliteDatabase.h"
#include "platform/store/StoredMessage.h"

class MessageRows {
public:
    // The columns read() takes, for "SELECT <kColumns> FROM messages m JOIN
    // folders f ON f.id = m.folder_id ...". The message's row id comes first.
    static const char* const kColumns;
    // The current row of a statement selecting kColumns; recipients are left
    // to load_recipients().
    static StoredMessage read(const SqliteStatement& st);
    // Appends the recipients of the message at row, in their order. False when
    // the store could not be read (the connection's last_failure() says why).
    static bool load_recipients(SqliteDatabase& db, int64_t row, StoredMessage& message);

    // The next contents-table position: positions only grow, so a message
    // moved to another folder goes to its end.
    static int64_t next_seq(SqliteDatabase& db);
    // Files a message at the end of a folder inside the caller's write
    // transaction; returns its row, 0 when the store failed.
    static int64_t insert(SqliteDatabase& db, int64_t folder_row, const StoredMessage& message);
};
