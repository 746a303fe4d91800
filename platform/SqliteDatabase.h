#pragma once
// One SQLite connection, closed when it goes. Shared files of the device (the
// message store, the registry) are used by several processes at once: the
// connection runs in WAL mode with a long busy timeout, and write transactions
// start IMMEDIATE so that two writers queue instead of failing half-way.
//
// The connection remembers its last failure (of a prepare, a step, exec,
// begin or commit), so that whoever reports an operation's failure can say
// which file failed and why.
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/SqliteFailure.h"
#include "platform/SqliteStatement.h"

struct sqlite3;

class SqliteDatabase {
public:
    // Other processes hold the write lock only for single short transactions;
    // a generous timeout turns every such wait into a delay, never into an
    // error.
    static constexpr std::chrono::milliseconds kBusyTimeout{30000};

    // Opens (creating when missing) the database file. On failure returns null
    // and sets *error to one line for the user that names the file.
    static std::unique_ptr<SqliteDatabase> open(const std::string& path, std::string* error);
    ~SqliteDatabase();
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;

    // Runs statements without results; false on error (see last_failure()).
    bool exec(std::string_view sql);
    // A statement; an invalid one when it cannot be prepared (see
    // SqliteStatement).
    SqliteStatement prepare(std::string_view sql);
    // A statement kept for the connection's lifetime, prepared on first use and
    // reset before it is handed out again. For statements on hot paths. One
    // that failed to prepare is prepared again at the next call.
    SqliteStatement& cached(const char* sql);

    // The schema version the file records ("PRAGMA user_version"); nothing
    // when it cannot be read (see last_failure()).
    std::optional<int64_t> schema_version();
    bool set_schema_version(int64_t version);

    // Write transaction. begin() retries while another process holds the write
    // lock, up to the busy timeout; false when it never got the lock.
    bool begin();
    // False when the transaction could not be committed; it is rolled back.
    bool commit();
    void rollback();

    int64_t last_insert_rowid() const;
    bool in_transaction() const;
    // Changes count of the last statement.
    int changes() const;
    sqlite3* handle() const { return db_; }
    const std::string& path() const { return path_; }

    // The last failure of this connection, until forget_failure().
    const SqliteFailure& last_failure() const { return failure_; }
    void forget_failure() { failure_ = {}; }
    // The last failure as one line for the user: "<path> is busy: ...".
    std::string failure_text() const;

private:
    friend class SqliteStatement;
    SqliteDatabase(sqlite3* db, std::string path) : db_(db), path_(std::move(path)) {}
    // Notes the connection's current error as its last failure.
    void note_failure();

    sqlite3* db_;
    std::string path_;
    SqliteFailure failure_;
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
        // A failed statement may have rolled the transaction back already.
        if (owns_ && db_.in_transaction()) db_.exec("COMMIT");
    }
    SqliteReadTransaction(const SqliteReadTransaction&) = delete;
    SqliteReadTransaction& operator=(const SqliteReadTransaction&) = delete;

private:
    SqliteDatabase& db_;
    bool owns_;
};
