#include "platform/store/StoreSnapshot.h"

#include "platform/store/StoreDatabase.h"

StoreSnapshot::StoreSnapshot(std::shared_ptr<StoreDatabase> db) : db_(std::move(db)) {
    if (db_) transaction_ = std::make_unique<SqliteReadTransaction>(db_->db());
}

bool StoreSnapshot::held() const { return transaction_ && db_->db().in_transaction(); }
