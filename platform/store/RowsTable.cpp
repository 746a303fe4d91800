#include "platform/store/RowsTable.h"

#include <algorithm>

namespace mapi {

HRESULT RowsTable::get_row_count(uint32_t& count) {
    count = static_cast<uint32_t>(rows_.size());
    return S_OK;
}

HRESULT RowsTable::seek_row(int32_t n) {
    if (n < 0) return E_INVALIDARG;
    cursor_ = std::min(static_cast<size_t>(n), rows_.size());
    return S_OK;
}

HRESULT RowsTable::query_rows(int32_t count, std::vector<Row>& rows) {
    rows.clear();
    if (count <= 0) return E_INVALIDARG;
    size_t end = std::min(rows_.size(), cursor_ + static_cast<size_t>(count));
    for (; cursor_ < end; ++cursor_) rows.push_back(rows_[cursor_]);
    return S_OK;
}

}  // namespace mapi
