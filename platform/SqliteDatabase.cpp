#include "platform/SqliteDatabase.h"

#include <sqlite3.h>

#include <thread>

std::unique_ptr<SqliteDatabase> SqliteDatabase::open(const std::string& path, std::string* error) {
    sqlite3* db = nullptr;
    int rc =
        sqlite3_open_v2(path.c_str(), &db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        if (error) {
            SqliteFailure f = SqliteFailure::of(rc, db ? sqlite3_system_errno(db) : 0,
                                                db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
            *error = path + " " + f.describe();
        }
        sqlite3_close(db);
        return nullptr;
    }
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, static_cast<int>(kBusyTimeout.count()));
    std::unique_ptr<SqliteDatabase> out(new SqliteDatabase(db, path));
    // WAL lets readers go on while one process writes; NORMAL sync is durable
    // across application crashes, which is what a handset's store must survive.
    if (!out->exec("PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; PRAGMA foreign_keys=ON;")) {
        if (error) *error = out->failure_text();
        return nullptr;
    }
    return out;
}

SqliteDatabase::~SqliteDatabase() {
    statements_.clear();
    sqlite3_close_v2(db_);
}

namespace {

// The error number of the last failed read or write of the WAL or the database
// file. SQLite does not pass it on for a write that fails while a transaction
// commits, and a write over the file size limit must not read as a mere
// "disk I/O error".
int file_errno(sqlite3* db) {
    int number = 0;
    sqlite3_file* wal = nullptr;
    if (sqlite3_file_control(db, "main", SQLITE_FCNTL_JOURNAL_POINTER, &wal) == SQLITE_OK &&
        wal != nullptr && wal->pMethods != nullptr)
        wal->pMethods->xFileControl(wal, SQLITE_FCNTL_LAST_ERRNO, &number);
    if (number == 0) sqlite3_file_control(db, "main", SQLITE_FCNTL_LAST_ERRNO, &number);
    return number;
}

}  // namespace

void SqliteDatabase::note_failure() {
    int code = sqlite3_extended_errcode(db_);
    int system_errno = sqlite3_system_errno(db_);
    if (system_errno == 0 && ((code & 0xFF) == SQLITE_IOERR || (code & 0xFF) == SQLITE_FULL))
        system_errno = file_errno(db_);
    failure_ = SqliteFailure::of(code, system_errno, sqlite3_errmsg(db_));
}

std::string SqliteDatabase::failure_text() const { return path_ + " " + failure_.describe(); }

bool SqliteDatabase::exec(std::string_view sql) {
    std::string text(sql);
    if (sqlite3_exec(db_, text.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK) return true;
    note_failure();
    return false;
}

std::optional<int64_t> SqliteDatabase::schema_version() {
    SqliteStatement version = prepare("PRAGMA user_version");
    if (version.step() != SqliteStep::Row) return std::nullopt;
    return version.column_int(0);
}

bool SqliteDatabase::set_schema_version(int64_t version) {
    return exec("PRAGMA user_version = " + std::to_string(version));
}

SqliteStatement SqliteDatabase::prepare(std::string_view sql) {
    return SqliteStatement(*this, sql);
}

SqliteStatement& SqliteDatabase::cached(const char* sql) {
    auto it = statements_.find(sql);
    if (it == statements_.end())
        it = statements_.emplace(sql, SqliteStatement(*this, sql)).first;
    else if (!it->second.valid())
        it->second = SqliteStatement(*this, sql);
    it->second.reset();
    return it->second;
}

bool SqliteDatabase::begin() {
    // BEGIN IMMEDIATE waits through the busy handler; a deadlock-avoidance
    // SQLITE_BUSY can still come back at once, so retry until the timeout.
    auto deadline = std::chrono::steady_clock::now() + kBusyTimeout;
    for (;;) {
        int rc = sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        if (rc == SQLITE_OK) return true;
        if (((rc & 0xFF) != SQLITE_BUSY && (rc & 0xFF) != SQLITE_LOCKED) ||
            std::chrono::steady_clock::now() > deadline) {
            note_failure();
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

bool SqliteDatabase::commit() {
    auto deadline = std::chrono::steady_clock::now() + kBusyTimeout;
    for (;;) {
        int rc = sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
        if (rc == SQLITE_OK) return true;
        if ((rc & 0xFF) != SQLITE_BUSY || std::chrono::steady_clock::now() > deadline) {
            // Noted before the rollback, which clears the connection's error.
            note_failure();
            rollback();
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

void SqliteDatabase::rollback() {
    if (!sqlite3_get_autocommit(db_)) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

int64_t SqliteDatabase::last_insert_rowid() const { return sqlite3_last_insert_rowid(db_); }

bool SqliteDatabase::in_transaction() const { return !sqlite3_get_autocommit(db_); }

int SqliteDatabase::changes() const { return sqlite3_changes(db_); }
