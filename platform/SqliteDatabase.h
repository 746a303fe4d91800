#pragma once
// One SQLite connection, closed when it goes. Shared files of the device (the
// message store, the registry) are used by several processes at once: the
// connection runs in WAL mode with a long busy timeout, and write transactions
// start IMMEDIATE so that two writers queue instead of failing half-way.
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/SqliteStatement.h"

struct sqlite3;

class SqliteDatabase {
public:
    // Opens (creating when missing) the database file. On failure returns null
    // and sets *error to one line for the user.
    static std::unique_ptr<SqliteDatabase> open(const std::string& path, std::string* error);
    ~SqliteDatabase();
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;

    // Runs statements without results; false on error (see last_error()).
    bool exec(std::string_view sql);
    SqliteStatement prepare(std::string_view sql);
    // A statement kept for the connection's lifetime, prepared on first use and
    // reset before it is handed out again. For statements on hot paths.
    SqliteStatement& cached(const char* sql);

    // Write transaction. begin() retries while another process holds the write
    // lock, up to the busy timeout; false when it never got the lock.
    bool begin();
    bool commit();
    void rollback();

    int64_t last_insert_rowid() const;
    bool in_transaction() const;
    // Changes count of the last statement.
    int changes() const;
    std::string last_error() const;
    sqlite3* handle() const { return db_; }

private:
    explicit SqliteDatabase(sqlite3* db) : db_(db) {}
    sqlite3* db_;
    std::unordered_map<const char*, SqliteStatement> statements_;
};

// Runs a write transaction and rolls it back unless commit() is reached.
class SqliteTransaction {
public:
    explicit SqliteTransaction(SqliteDatabase& db) : db_(db), open_(db.begin()) {}
    ~SqliteTransaction() {
        if (open_) db_.rollback();
    }
    SqliteTransaction(const SqliteTransaction&) = delete;
    SqliteTransaction& operator=(const SqliteTransaction&) = delete;

    bool ok() const { return open_; }
    bool commit() {
        if (!open_) return false;
        open_ = false;
        return db_.commit();
    }

private:
    SqliteDatabase& db_;
    bool open_;
};

// A read snapshot over several statements; nothing when a transaction is open
// already (the outer one is the snapshot then).
class SqliteReadTransaction {
public:
    explicit SqliteReadTransaction(SqliteDatabase& db)
        : db_(db), owns_(!db.in_transaction() && db.exec("BEGIN")) {}
    ~SqliteReadTransaction() {
        if (owns_) db_.exec("COMMIT");
    }
    SqliteReadTransaction(const SqliteReadTransaction&) = delete;
    SqliteReadTransaction& operator=(const SqliteReadTransaction&) = delete;

private:
    SqliteDatabase& db_;
    bool owns_;
};
