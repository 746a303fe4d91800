#include "platform/RegistryDatabase.h"

#include <filesystem>

#include "platform/Paths.h"

namespace {

struct Connection {
    std::recursive_mutex mutex;
    std::string path;
    std::unique_ptr<SqliteDatabase> db;
};

Connection& connection() {
    static Connection c;
    return c;
}

constexpr int kSchemaVersion = 1;

constexpr const char* kSchema = R"sql(
CREATE TABLE IF NOT EXISTS keys(
    path TEXT PRIMARY KEY COLLATE NOCASE);
CREATE TABLE IF NOT EXISTS vals(
    key  TEXT NOT NULL COLLATE NOCASE,
    name TEXT NOT NULL COLLATE NOCASE,
    type INTEGER NOT NULL,
    data BLOB NOT NULL,
    PRIMARY KEY(key, name));
CREATE TABLE IF NOT EXISTS notifications(
    name    TEXT PRIMARY KEY,
    key     TEXT NOT NULL COLLATE NOCASE,
    value   TEXT NOT NULL COLLATE NOCASE,
    command TEXT NOT NULL,
    flags   INTEGER NOT NULL,
    compare INTEGER NOT NULL,
    mask    INTEGER NOT NULL,
    target  INTEGER NOT NULL);
)sql";

// Every column the registry's statements use. A table of another shape (a
// damaged file, or another program's) is refused when the file is opened,
// rather than failing statement by statement.
constexpr const char* kColumnProbes[] = {
    "SELECT path FROM keys LIMIT 0",
    "SELECT key, name, type, data FROM vals LIMIT 0",
    "SELECT name, key, value, command, flags, compare, mask, target FROM notifications LIMIT 0",
};

bool check_schema(SqliteDatabase& db, std::string* error) {
    auto fail = [&](const std::string& what) {
        if (error) *error = what;
        return false;
    };
    std::optional<int64_t> version = db.schema_version();
    if (!version) return fail(db.failure_text());
    int64_t found = *version;
    if (found > kSchemaVersion) return fail(db.path() + " is a registry of a newer version");
    if (found < kSchemaVersion) {
        SqliteTransaction tx(db);
        if (!tx.ok() || !db.exec(kSchema) || !db.set_schema_version(kSchemaVersion) || !tx.commit())
            return fail(db.failure_text());
    }
    for (const char* probe : kColumnProbes)
        if (!db.prepare(probe).valid())
            return fail(db.path() + " has a damaged table (" + db.last_failure().detail + ")");
    return true;
}

}  // namespace

std::unique_lock<std::recursive_mutex> RegistryDatabase::lock() {
    return std::unique_lock<std::recursive_mutex>(connection().mutex);
}

SqliteDatabase* RegistryDatabase::get(std::string* error) {
    Connection& c = connection();
    std::string folder = paths::device_folder_utf8();
    std::string path = folder + "/registry.db";
    if (c.db && c.path == path) return c.db.get();
    c.db.reset();
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    auto db = SqliteDatabase::open(path, error);
    if (!db || !check_schema(*db, error)) return nullptr;
    c.db = std::move(db);
    c.path = path;
    return c.db.get();
}
