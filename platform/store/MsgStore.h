#pragma once
// One opened message store: its properties (display name, the entry ids of its
// special folders) and the folders and messages it holds.
#include <memory>
#include <vector>

#include "platform/store/MapiTypes.h"
#include "platform/store/StoreSnapshot.h"

class StoreDatabase;

namespace mapi {

class Folder;
class Message;

class MsgStore {
public:
    MsgStore(std::shared_ptr<StoreDatabase> db, Bytes entry_id)
        : db_(std::move(db)), entry_id_(std::move(entry_id)) {}

    // GetProps: one value per tag, in order. A property the store does not
    // have comes back with type PT_ERROR and the result is
    // MAPI_W_ERRORS_RETURNED.
    HRESULT get_props(const std::vector<uint32_t>& tags, uint32_t flags,
                      std::vector<PropValue>& out);
    // OpenEntry of a folder of this store.
    HRESULT open_folder(const Bytes& entry_id, uint32_t flags, std::unique_ptr<Folder>& out);
    // OpenEntry of a message of this store; MAPI_MODIFY allows set_props.
    HRESULT open_message(const Bytes& entry_id, uint32_t flags, std::unique_ptr<Message>& out);
    // SetReadFlags for messages of any folders of this store at once: sets
    // their read flag, or clears it with CLEAR_READ_FLAG, in one store
    // transaction, so that the unread counter changes once. Ids of messages
    // that are gone are passed over.
    HRESULT set_read_flags(const std::vector<Bytes>& entry_ids, uint32_t flags);
    // Holds the store still for the reads through any object of this store
    // (its folders' contents tables, its messages) while the result lives;
    // see StoreSnapshot.
    StoreSnapshot read_snapshot() { return StoreSnapshot(db_); }

private:
    std::shared_ptr<StoreDatabase> db_;
    Bytes entry_id_;
};

}  // namespace mapi
