#pragma once
// Damages one table of an SQLite file as a failing disk would: the first page
// of the table's tree is overwritten, so that every read of the table fails
// with SQLITE_CORRUPT while the rest of the file still reads. No connection
// may have the file open.
#include <sqlite3.h>

#include <fstream>
#include <stdexcept>
#include <string>

inline void damage_table(const std::string& path, const std::string& table) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        throw std::runtime_error("cannot open " + path);
    // Everything into the main file, so that the damage is what a reader sees.
    sqlite3_exec(db, "PRAGMA wal_checkpoint(TRUNCATE)", nullptr, nullptr, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT rootpage, (SELECT page_size FROM pragma_page_size) FROM "
                       "sqlite_schema WHERE type = 'table' AND name = ?1",
                       -1, &st, nullptr);
    sqlite3_bind_text(st, 1, table.c_str(), -1, SQLITE_TRANSIENT);
    if (sqlite3_step(st) != SQLITE_ROW) throw std::runtime_error("no table " + table);
    long page = sqlite3_column_int64(st, 0), page_size = sqlite3_column_int64(st, 1);
    sqlite3_finalize(st);
    sqlite3_close(db);
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    file.seekp((page - 1) * page_size);
    const std::string garbage(64, '\xA5');
    file.write(garbage.data(), static_cast<std::streamsize>(garbage.size()));
}
