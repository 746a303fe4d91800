#pragma once
// A table whose rows are all known when it is opened (the stores table, a
// message's recipient table).
#include "platform/store/Table.h"

namespace mapi {

class RowsTable : public Table {
public:
    explicit RowsTable(std::vector<Row> rows) : rows_(std::move(rows)) {}

    HRESULT get_row_count(uint32_t& count) override;
    HRESULT seek_row(int32_t n) override;
    HRESULT query_rows(int32_t count, std::vector<Row>& rows) override;

private:
    std::vector<Row> rows_;
    size_t cursor_ = 0;
};

}  // namespace mapi
