#include "platform/store/Folder.h"

#include "platform/store/ContentsTable.h"
#include "platform/store/Message.h"
#include "platform/store/StoreHresult.h"

namespace mapi {

HRESULT Folder::get_contents_table(uint32_t, std::unique_ptr<Table>& out) {
    out = std::make_unique<ContentsTable>(db_, row_);
    return S_OK;
}

HRESULT Folder::create_message(uint32_t, std::unique_ptr<Message>& out) {
    out = std::make_unique<Message>(db_, row_);
    return S_OK;
}

HRESULT Folder::delete_messages(const std::vector<Bytes>& entry_ids, uint32_t) {
    if (entry_ids.empty()) return S_OK;
    return db_->delete_messages(row_, entry_ids) ? S_OK : failure_code(*db_, MAPI_E_NOT_FOUND);
}

}  // namespace mapi
