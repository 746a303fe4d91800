#pragma once
// A folder's contents table: one row per message in arrival order, each row
// holding PR_ENTRYID. Rows are read from the store when asked for, never all
// at once.
#include <memory>

#include "platform/store/Table.h"

class StoreDatabase;

namespace mapi {

class ContentsTable : public Table {
public:
    ContentsTable(std::shared_ptr<StoreDatabase> db, int64_t folder_row)
        : db_(std::move(db)), folder_row_(folder_row) {}

    HRESULT get_row_count(uint32_t& count) override;
    HRESULT seek_row(int32_t n) override;
    HRESULT query_rows(int32_t count, std::vector<Row>& rows) override;
    int64_t change_number() const override { return version_; }

private:
    std::shared_ptr<StoreDatabase> db_;
    int64_t folder_row_;
    uint32_t cursor_ = 0;
    int64_t version_ = -1;
};

}  // namespace mapi
