#pragma once
// A prepared SQLite statement, finalized when it goes. Text columns and bound
// texts are UTF-16 (the program's own strings) or raw bytes.
//
// A statement that failed to prepare (a damaged or foreign schema) stays
// usable: binding does nothing, stepping fails at once, columns read as
// empty. Its connection has noted why (SqliteDatabase::last_failure()).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3_stmt;
class SqliteDatabase;

// What one step of a statement gave.
enum class SqliteStep {
    Row,    // a result row is ready to be read
    Done,   // the statement has run to its end
    Error,  // it failed; the connection's last_failure() says why
};

class SqliteStatement {
public:
    SqliteStatement() = default;
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

    // Steps once. A busy database is waited for by the connection's busy
    // handler before this returns.
    SqliteStep step();
    // Steps through every row, calling on_row() for each, then resets the
    // statement. True when the rows ended; false when a step failed, which
    // is never taken for the end of the rows (on_row has seen the rows
    // before the failure).
    template <class OnRow>
    bool each_row(OnRow&& on_row) {
        SqliteStep s;
        while ((s = step()) == SqliteStep::Row) on_row();
        reset();
        return s == SqliteStep::Done;
    }
    // Steps a statement without result rows (a write) once and resets it;
    // true when it ran to its end.
    bool run();
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
    friend class SqliteDatabase;
    // Prepares sql on the connection; on failure the statement is invalid
    // and the connection has noted why.
    SqliteStatement(SqliteDatabase& db, std::string_view sql);

    SqliteDatabase* db_ = nullptr;
    sqlite3_stmt* stmt_ = nullptr;
};
