#include "platform/store/MsgStore.h"

#include "platform/store/Folder.h"
#include "platform/store/Message.h"
#include "platform/store/StoreHresult.h"

namespace mapi {

HRESULT MsgStore::get_props(const std::vector<uint32_t>& tags, uint32_t,
                            std::vector<PropValue>& out) {
    out.clear();
    bool missing = false;
    for (uint32_t tag : tags) {
        if (tag == PR_DISPLAY_NAME_W) {
            bool found = false;
            std::vector<StoreDatabase::StoreRow> stores = db_->stores();
            if (db_->store_failed()) return MAPI_E_DISK_ERROR;
            for (StoreDatabase::StoreRow& s : stores)
                if (s.entry_id == entry_id_) {
                    out.push_back(PropValue::of_text(tag, std::move(s.display_name)));
                    found = true;
                    break;
                }
            if (!found) {
                out.push_back(PropValue::error(tag));
                missing = true;
            }
        } else if (tag == PR_ENTRYID) {
            out.push_back(PropValue::of_binary(tag, entry_id_));
        } else if (prop_type(tag) == PT_BINARY) {
            Bytes folder = db_->store_folder_property(entry_id_, tag);
            if (db_->store_failed()) return MAPI_E_DISK_ERROR;
            if (folder.empty()) {
                out.push_back(PropValue::error(tag));
                missing = true;
            } else {
                out.push_back(PropValue::of_binary(tag, std::move(folder)));
            }
        } else {
            out.push_back(PropValue::error(tag));
            missing = true;
        }
    }
    return missing ? MAPI_W_ERRORS_RETURNED : S_OK;
}

HRESULT MsgStore::open_folder(const Bytes& entry_id, uint32_t, std::unique_ptr<Folder>& out) {
    out.reset();
    int64_t row = db_->folder_row(entry_id_, entry_id);
    if (row == 0) return failure_code(*db_, MAPI_E_NOT_FOUND);
    out = std::make_unique<Folder>(db_, row);
    return S_OK;
}

HRESULT MsgStore::open_message(const Bytes& entry_id, uint32_t flags,
                               std::unique_ptr<Message>& out) {
    out.reset();
    std::optional<StoredMessage> m = db_->find_message_in_store(entry_id_, entry_id);
    if (!m) return failure_code(*db_, MAPI_E_NOT_FOUND);
    out = std::make_unique<Message>(db_, std::move(*m), (flags & MAPI_MODIFY) != 0);
    return S_OK;
}

HRESULT MsgStore::set_read_flags(const std::vector<Bytes>& entry_ids, uint32_t flags) {
    if (db_->set_read_flags(entry_ids, (flags & CLEAR_READ_FLAG) == 0)) return S_OK;
    return failure_code(*db_, MAPI_E_CALL_FAILED);
}

}  // namespace mapi
