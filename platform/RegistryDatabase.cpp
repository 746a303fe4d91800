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

}  // namespace

std::unique_lock<std::recursive_mutex> RegistryDatabase::lock() {
    return std::unique_lock<std::recursive_mutex>(connection().mutex);
}

SqliteDatabase* RegistryDatabase::get() {
    Connection& c = connection();
    std::string folder = paths::device_folder_utf8();
    std::string path = folder + "/registry.db";
    if (c.db && c.path == path) return c.db.get();
    c.db.reset();
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    auto db = SqliteDatabase::open(path, nullptr);
    if (!db) return nullptr;
    SqliteTransaction tx(*db);
    if (!tx.ok() || !db->exec(kSchema) || !tx.commit()) return nullptr;
    c.db = std::move(db);
    c.path = path;
    return c.db.get();
}
