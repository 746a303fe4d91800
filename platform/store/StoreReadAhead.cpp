#include "platform/store/StoreReadAhead.h"

#include <algorithm>
#include <string>

#include "platform/store/MessageFlags.h"
#include "platform/store/MessageRows.h"

std::optional<StoredMessage> StoreReadAhead::take(int64_t row) {
    auto it = rows_.find(row);
    if (it == rows_.end()) return std::nullopt;
    StoredMessage m = std::move(it->second);
    rows_.erase(it);
    ++served_;
    return m;
}

std::optional<StoredMessage> StoreReadAhead::read(int64_t store, int64_t row) {
    if (store_ == store && std::chrono::steady_clock::now() - taken_ < kLife)
        if (std::optional<StoredMessage> m = take(row)) return m;
    if (filled_) window_ = served_ > 1 ? std::min(window_ * 2, kMaxRows) : kMinRows;
    filled_ = true;
    rows_.clear();
    served_ = 0;
    store_ = store;
    if (!fill(store, row)) {
        rows_.clear();
        return std::nullopt;
    }
    // The moment counts from the end of the fill: reading a long message may
    // take longer than the moment itself.
    taken_ = std::chrono::steady_clock::now();
    return take(row);
}

bool StoreReadAhead::fill(int64_t store, int64_t row) {
    SqliteReadTransaction snapshot(db_);
    static const std::string kSelect =
        std::string("SELECT ") + MessageRows::kColumns +
        " FROM messages m JOIN folders f ON f.id = m.folder_id "
        "WHERE f.store_id = ?2 AND m.folder_id = (SELECT folder_id FROM messages WHERE id = ?1) "
        "AND m.seq >= (SELECT seq FROM messages WHERE id = ?1) ";
    static const std::string kSql = kSelect + "ORDER BY m.seq LIMIT ?3";
    static const std::string kSqlPassingOver =
        kSelect + "AND (m.id = ?1 OR m.id NOT IN (SELECT value FROM json_each(?4))) " +
        "ORDER BY m.seq LIMIT ?3";
    SqliteStatement& st = db_.cached(long_rows_.empty() ? kSql.c_str() : kSqlPassingOver.c_str());
    st.bind(1, row).bind(2, store).bind(3, window_);
    if (!long_rows_.empty()) {
        std::string list;
        for (int64_t id : long_rows_) list += (list.empty() ? "[" : ",") + std::to_string(id);
        st.bind_utf8(4, list + "]");
    }
    size_t ahead_text = 0;
    SqliteStep step;
    while ((step = st.step()) == SqliteStep::Row) {
        StoredMessage m = MessageRows::read(st);
        int64_t id = st.column_int(0);
        if (id != row) {
            ahead_text += m.body.size();
            if (m.body.size() > kMaxAheadText && long_rows_.size() < kMaxLongRows)
                long_rows_.push_back(id);
        }
        rows_.emplace(id, std::move(m));
        // The message that overruns the text held ahead ends the fill. It is
        // kept, since reading it was the cost: the next read, usually of that
        // very message, finds it.
        if (ahead_text > kMaxAheadText) {
            step = SqliteStep::Done;
            break;
        }
    }
    st.reset();
    if (step == SqliteStep::Error) return false;
    // Only messages sent by the device have recipients the program reads.
    for (auto& [id, m] : rows_)
        if ((m.flags & kMsgFlagFromMe) && !MessageRows::load_recipients(db_, id, m)) return false;
    return true;
}
