#include "platform/SqliteStatement.h"

#include <sqlite3.h>

#include <utility>

#include "platform/SqliteDatabase.h"

SqliteStatement::SqliteStatement(SqliteDatabase& db, std::string_view sql) : db_(&db) {
    int rc = sqlite3_prepare_v3(db.handle(), sql.data(), static_cast<int>(sql.size()),
                                SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
        db.note_failure();
    }
}

SqliteStatement::~SqliteStatement() { sqlite3_finalize(stmt_); }

SqliteStatement::SqliteStatement(SqliteStatement&& other) noexcept
    : db_(other.db_), stmt_(std::exchange(other.stmt_, nullptr)) {}

SqliteStatement& SqliteStatement::operator=(SqliteStatement&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(stmt_);
        db_ = other.db_;
        stmt_ = std::exchange(other.stmt_, nullptr);
    }
    return *this;
}

// sqlite3_bind_* refuse a null statement by themselves; the checks keep the
// contract visible rather than relying on that.
SqliteStatement& SqliteStatement::bind(int index, int64_t value) {
    if (stmt_) sqlite3_bind_int64(stmt_, index, value);
    return *this;
}

SqliteStatement& SqliteStatement::bind(int index, std::u16string_view text) {
    if (stmt_)
        sqlite3_bind_text16(stmt_, index, text.data(), static_cast<int>(text.size() * 2),
                            SQLITE_TRANSIENT);
    return *this;
}

SqliteStatement& SqliteStatement::bind_utf8(int index, std::string_view text) {
    if (stmt_)
        sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()),
                          SQLITE_TRANSIENT);
    return *this;
}

SqliteStatement& SqliteStatement::bind_blob(int index, const void* data, size_t size) {
    // A zero-length blob is still a blob, not NULL.
    if (stmt_)
        sqlite3_bind_blob(stmt_, index, size ? data : "", static_cast<int>(size), SQLITE_TRANSIENT);
    return *this;
}

SqliteStatement& SqliteStatement::bind_null(int index) {
    if (stmt_) sqlite3_bind_null(stmt_, index);
    return *this;
}

SqliteStep SqliteStatement::step() {
    if (stmt_ == nullptr) return SqliteStep::Error;  // the failed prepare was noted
    int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return SqliteStep::Row;
    if (rc == SQLITE_DONE) return SqliteStep::Done;
    db_->note_failure();
    return SqliteStep::Error;
}

bool SqliteStatement::run() {
    bool done = step() == SqliteStep::Done;
    reset();
    return done;
}

void SqliteStatement::reset() {
    // Clearing the bindings of a null statement would crash SQLite.
    if (stmt_ == nullptr) return;
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

int64_t SqliteStatement::column_int(int column) const {
    return stmt_ ? sqlite3_column_int64(stmt_, column) : 0;
}

bool SqliteStatement::column_is_null(int column) const {
    return stmt_ == nullptr || sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

std::u16string SqliteStatement::column_text(int column) const {
    const void* text = stmt_ ? sqlite3_column_text16(stmt_, column) : nullptr;
    if (text == nullptr) return {};
    int bytes = sqlite3_column_bytes16(stmt_, column);
    return std::u16string(static_cast<const char16_t*>(text), static_cast<size_t>(bytes) / 2);
}

std::string SqliteStatement::column_utf8(int column) const {
    const unsigned char* text = stmt_ ? sqlite3_column_text(stmt_, column) : nullptr;
    if (text == nullptr) return {};
    return std::string(reinterpret_cast<const char*>(text),
                       static_cast<size_t>(sqlite3_column_bytes(stmt_, column)));
}

std::vector<uint8_t> SqliteStatement::column_blob(int column) const {
    auto view = column_blob_view(column);
    return std::vector<uint8_t>(view.begin(), view.end());
}

std::basic_string_view<uint8_t> SqliteStatement::column_blob_view(int column) const {
    const void* data = stmt_ ? sqlite3_column_blob(stmt_, column) : nullptr;
    if (data == nullptr) return {};
    int size = sqlite3_column_bytes(stmt_, column);
    if (size <= 0) return {};
    return {static_cast<const uint8_t*>(data), static_cast<size_t>(size)};
}
