#pragma once
// A prepared SQLite statement, finalized when it goes. Text columns and bound
// texts are UTF-16 (the program's own strings) or raw bytes.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

class SqliteStatement {
public:
    SqliteStatement() = default;
    SqliteStatement(sqlite3* db, std::string_view sql);  // check valid() afterwards
    ~SqliteStatement();
    SqliteStatement(SqliteStatement&& other) noexcept;
    SqliteStatement& operator=(SqliteStatement&& other) noexcept;
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    bool valid() const { return stmt_ != nullptr; }

    // Binding, 1-based as in SQLite. Each returns *this for chaining.
    SqliteStatement& bind(int index, int64_t value);
    SqliteStatement& bind(int index, std::u16string_view text);
    SqliteStatement& bind_utf8(int index, std::string_view text);
    SqliteStatement& bind_blob(int index, const void* data, size_t size);
    SqliteStatement& bind_null(int index);

    // Steps once: SQLITE_ROW, SQLITE_DONE or an error code. A busy database is
    // waited for by the connection's busy handler before this returns.
    int step();
    // Resets for another run and clears the bindings.
    void reset();

    int64_t column_int(int column) const;
    bool column_is_null(int column) const;
    std::u16string column_text(int column) const;
    std::string column_utf8(int column) const;
    std::vector<uint8_t> column_blob(int column) const;
    // Pointer into SQLite's memory, valid until the next step or reset.
    std::basic_string_view<uint8_t> column_blob_view(int column) const;

private:
    sqlite3_stmt* stmt_ = nullptr;
};
