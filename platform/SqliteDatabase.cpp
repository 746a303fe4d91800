#include "platform/SqliteDatabase.h"

#include <sqlite3.h>

#include <chrono>
#include <thread>

namespace {
// Other processes hold the write lock only for single short transactions; a
// generous timeout turns every such wait into a delay, never into an error.
constexpr int kBusyTimeoutMs = 30000;
}  // namespace

std::unique_ptr<SqliteDatabase> SqliteDatabase::open(const std::string& path, std::string* error) {
    sqlite3* db = nullptr;
    int rc =
        sqlite3_open_v2(path.c_str(), &db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        if (error) *error = path + ": " + (db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
        sqlite3_close(db);
        return nullptr;
    }
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    std::unique_ptr<SqliteDatabase> out(new SqliteDatabase(db));
    // WAL lets readers go on while one process writes; NORMAL sync is durable
    // across application crashes, which is what a handset's store must survive.
    if (!out->exec("PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; PRAGMA foreign_keys=ON;")) {
        if (error) *error = path + ": " + out->last_error();
        return nullptr;
    }
    return out;
}

SqliteDatabase::~SqliteDatabase() {
    statements_.clear();
    sqlite3_close_v2(db_);
}

bool SqliteDatabase::exec(std::string_view sql) {
    std::string text(sql);
    return sqlite3_exec(db_, text.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

SqliteStatement SqliteDatabase::prepare(std::string_view sql) { return SqliteStatement(db_, sql); }

SqliteStatement& SqliteDatabase::cached(const char* sql) {
    auto it = statements_.find(sql);
    if (it == statements_.end()) it = statements_.emplace(sql, SqliteStatement(db_, sql)).first;
    it->second.reset();
    return it->second;
}

bool SqliteDatabase::begin() {
    // BEGIN IMMEDIATE waits through the busy handler; a deadlock-avoidance
    // SQLITE_BUSY can still come back at once, so retry until the timeout.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kBusyTimeoutMs);
    for (;;) {
        int rc = sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        if (rc == SQLITE_OK) return true;
        if ((rc != SQLITE_BUSY && rc != SQLITE_LOCKED) ||
            std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

bool SqliteDatabase::commit() {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kBusyTimeoutMs);
    for (;;) {
        int rc = sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
        if (rc == SQLITE_OK) return true;
        if (rc != SQLITE_BUSY || std::chrono::steady_clock::now() > deadline) {
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

std::string SqliteDatabase::last_error() const { return sqlite3_errmsg(db_); }
