#pragma once
// A table of the messaging interface (stores, a folder's contents, a message's
// recipients): rows read from a cursor position.
#include <cstdint>
#include <vector>

#include "platform/store/MapiTypes.h"

namespace mapi {

class Table {
public:
    virtual ~Table() = default;
    virtual HRESULT get_row_count(uint32_t& count) = 0;
    // Moves the cursor to row n from the beginning (SeekRow from
    // BOOKMARK_BEGINNING). Seeking past the end puts the cursor at the end.
    virtual HRESULT seek_row(int32_t n) = 0;
    // Reads up to count rows from the cursor and advances it. An empty result
    // with S_OK means the cursor is at the end.
    virtual HRESULT query_rows(int32_t count, std::vector<Row>& rows) = 0;
    // A number that changes whenever the table's rows change; the same number
    // means the same rows. 0 for tables that never change.
    virtual int64_t change_number() const { return 0; }
};

}  // namespace mapi
