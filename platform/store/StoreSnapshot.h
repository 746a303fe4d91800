#pragma once
// Holds the message store still for a run of reads: while it lives, every read
// through the connection it was taken on sees the store as it was at the first
// of them, whatever other processes change meanwhile. A run of reads that must
// agree with each other, such as a folder's contents read in batches, takes
// one; each read on its own is already consistent.
//
// It is one read transaction. The store runs in WAL mode, where a reader holds
// up no writer, so other processes go on changing the store; a change through
// the same connection fails while it lives.
#include <memory>

#include "platform/SqliteDatabase.h"

class StoreDatabase;

class StoreSnapshot {
public:
    // Holds nothing.
    StoreSnapshot() = default;
    // Begins a read transaction on the store's connection, or relies on the
    // transaction open there already. The store stays alive while it lives.
    explicit StoreSnapshot(std::shared_ptr<StoreDatabase> db);

    // Whether the reads see one state of the store: false when it holds
    // nothing, or when its transaction could not begin or has ended (a failed
    // read can end it).
    bool held() const;

private:
    std::shared_ptr<StoreDatabase> db_;
    // Declared after db_: ends before the store may go.
    std::unique_ptr<SqliteReadTransaction> transaction_;
};
