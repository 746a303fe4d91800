#include "platform/store/ContentsTable.h"

#include "platform/store/StoreHresult.h"

namespace mapi {

HRESULT ContentsTable::get_row_count(uint32_t& count) {
    if (db_->folder_count(folder_row_, count, version_)) return S_OK;
    return failure_code(*db_, MAPI_E_CALL_FAILED);
}

HRESULT ContentsTable::seek_row(int32_t n) {
    if (n < 0) return E_INVALIDARG;
    uint32_t count = 0;
    if (!db_->folder_count(folder_row_, count, version_))
        return failure_code(*db_, MAPI_E_CALL_FAILED);
    cursor_ = std::min(static_cast<uint32_t>(n), count);
    return S_OK;
}

HRESULT ContentsTable::query_rows(int32_t count, std::vector<Row>& rows) {
    rows.clear();
    if (count <= 0) return E_INVALIDARG;
    std::vector<Bytes> ids;
    if (!db_->folder_entry_ids(folder_row_, cursor_, static_cast<uint32_t>(count), ids))
        return failure_code(*db_, MAPI_E_CALL_FAILED);
    rows.reserve(ids.size());
    for (Bytes& id : ids) rows.push_back({PropValue::of_binary(PR_ENTRYID, std::move(id))});
    cursor_ += static_cast<uint32_t>(rows.size());
    return S_OK;
}

}  // namespace mapi
