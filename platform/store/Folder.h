#pragma once
// An opened folder: its contents table, new messages, deletion.
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/store/MapiTypes.h"
#include "platform/store/Table.h"

class StoreDatabase;

namespace mapi {

class Message;

class Folder {
public:
    Folder(std::shared_ptr<StoreDatabase> db, int64_t row) : db_(std::move(db)), row_(row) {}

    // The contents table in arrival order; each row holds PR_ENTRYID first.
    HRESULT get_contents_table(uint32_t flags, std::unique_ptr<Table>& out);
    // A new message of this folder. It exists only in memory until it is
    // submitted; released unsubmitted it leaves nothing behind.
    HRESULT create_message(uint32_t flags, std::unique_ptr<Message>& out);
    HRESULT delete_messages(const std::vector<Bytes>& entry_ids, uint32_t flags);

private:
    std::shared_ptr<StoreDatabase> db_;
    int64_t row_;
};

}  // namespace mapi
