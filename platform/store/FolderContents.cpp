#include "platform/store/FolderContents.h"

#include <algorithm>

#include "platform/store/StoreIds.h"

bool FolderContents::count(int64_t folder_row, uint32_t& count, int64_t& version) {
    SqliteStatement& st = db_.cached("SELECT row_count, version FROM folders WHERE id = ?1");
    st.bind(1, folder_row);
    bool ok = st.step() == SqliteStep::Row;
    if (ok) {
        count = static_cast<uint32_t>(st.column_int(0));
        version = st.column_int(1);
    }
    st.reset();
    return ok;
}

bool FolderContents::entry_ids(int64_t folder_row, uint32_t first, uint32_t count,
                               std::vector<Bytes>& out) {
    out.clear();
    // One read transaction, so that the count and the rows agree.
    SqliteReadTransaction snapshot(db_);
    uint32_t rows = 0;
    int64_t version = 0;
    if (!this->count(folder_row, rows, version)) return false;
    uint32_t take = first >= rows ? 0 : std::min(count, rows - first);
    if (take == 0) return true;

    Anchor anchor = anchors_[folder_row];
    // Contents-table positions are counted through the (folder, seq) index:
    // from the last batch when reading on, otherwise from the nearer end of
    // the table, so that a read near the end of a large folder (the usual
    // case: new messages) never walks the whole folder.
    SqliteStatement* st;
    bool reverse = false;
    if (anchor.version == version && anchor.next_position == first) {
        st = &db_.cached(
            "SELECT id, seq FROM messages WHERE folder_id = ?1 AND seq > ?2 ORDER BY seq LIMIT ?3");
        st->bind(1, folder_row).bind(2, anchor.last_seq).bind(3, static_cast<int64_t>(take));
    } else if (first > rows / 2) {
        reverse = true;
        st = &db_.cached(
            "SELECT id, seq FROM messages WHERE folder_id = ?1 ORDER BY seq DESC LIMIT ?2 "
            "OFFSET ?3");
        st->bind(1, folder_row).bind(2, static_cast<int64_t>(take));
        st->bind(3, static_cast<int64_t>(rows - first - take));
    } else {
        st = &db_.cached(
            "SELECT id, seq FROM messages WHERE folder_id = ?1 ORDER BY seq LIMIT ?2 OFFSET ?3");
        st->bind(1, folder_row)
            .bind(2, static_cast<int64_t>(take))
            .bind(3, static_cast<int64_t>(first));
    }
    std::vector<int64_t> seqs;
    bool ended = st->each_row([&] {
        out.push_back(store_ids::of_message(st->column_int(0)));
        seqs.push_back(st->column_int(1));
    });
    if (!ended) {
        out.clear();
        anchors_.erase(folder_row);
        return false;
    }
    if (reverse) {
        std::reverse(out.begin(), out.end());
        std::reverse(seqs.begin(), seqs.end());
    }
    if (!seqs.empty())
        anchors_[folder_row] = {version, first + static_cast<uint32_t>(seqs.size()), seqs.back()};
    return true;
}
