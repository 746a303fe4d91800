#pragma once
// The tables of store.db, and the stores and folders a new message store
// starts with: the SMS store (whose display name contains "SMS") with its
// Inbox, Sent Items, Drafts, Outbox, message folder root and Deleted Items,
// and, as on a handset, another store beside it.
#include <array>
#include <cstdint>
#include <string>

#include "platform/SqliteDatabase.h"

// Row of each folder of the SMS store, indexed by StoreFolderKind.
using SmsFolderRows = std::array<int64_t, 6>;

class StoreSchema {
public:
    // Creates the tables and the default stores and folders of a new file, or
    // checks the version of an existing one, then finds the SMS store's
    // folders. False with *error set (one line naming the file) when the file
    // is no message store, is of a newer version or cannot be written.
    static bool prepare(SqliteDatabase& db, SmsFolderRows& rows, std::string* error);

private:
    static bool create(SqliteDatabase& db);
};
