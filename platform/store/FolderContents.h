#pragma once
// The contents tables of the folders: how many rows each has, and the entry
// ids at given positions, read through the (folder, seq) index.
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "platform/SqliteDatabase.h"

class FolderContents {
public:
    using Bytes = std::vector<uint8_t>;

    explicit FolderContents(SqliteDatabase& db) : db_(db) {}

    // Rows in a folder's contents table, and a number that changes with every
    // change of that table. False when there is no such folder or the store
    // could not be read.
    bool count(int64_t folder_row, uint32_t& count, int64_t& version);
    // Entry ids of rows first..first+count-1 of a folder's contents table;
    // fewer near its end. False when the store could not be read.
    bool entry_ids(int64_t folder_row, uint32_t first, uint32_t count, std::vector<Bytes>& out);

private:
    // Where the next read of a folder probably starts: the row after the last
    // batch. Valid only while the folder's version is unchanged.
    struct Anchor {
        int64_t version = -1;
        uint32_t next_position = 0;
        int64_t last_seq = 0;
    };

    SqliteDatabase& db_;
    std::unordered_map<int64_t, Anchor> anchors_;
};
