#include "platform/store/OutboxRows.h"

#include "platform/store/MessageFlags.h"
#include "platform/store/MessageRows.h"
#include "platform/store/StoreIds.h"

bool OutboxRows::waiting(SqliteDatabase& db, int64_t outbox, Waiting which,
                         std::vector<StoredMessage>& out) {
    auto st = db.prepare(std::string("SELECT ") + MessageRows::kColumns +
                         " FROM messages m JOIN folders f ON f.id = m.folder_id "
                         "WHERE m.folder_id = ?1 AND (m.submitted = 1 AND m.failed = 0 OR "
                         "?2 AND m.failed = 1) ORDER BY m.seq");
    st.bind(1, outbox).bind(2, which == Waiting::SubmittedOrFailed ? 1 : 0);
    size_t first = out.size();
    if (!st.each_row([&] { out.push_back(MessageRows::read(st)); })) return false;
    for (size_t i = first; i < out.size(); ++i)
        if (!MessageRows::load_recipients(db, store_ids::message_row(out[i].entry_id), out[i]))
            return false;
    return true;
}

bool OutboxRows::move_to_sent(SqliteDatabase& db, int64_t sent, int64_t row, int64_t now) {
    int64_t seq = MessageRows::next_seq(db);
    if (seq == 0) return false;
    SqliteStatement& st = db.cached(
        "UPDATE messages SET folder_id = ?2, seq = ?3, flags = flags & ~?5, submitted = 0, "
        "failed = 0, delivery_time = ?4, modification_time = ?4 WHERE id = ?1");
    st.bind(1, row).bind(2, sent).bind(3, seq).bind(4, now);
    st.bind(5, static_cast<int64_t>(kMsgFlagUnsent));
    return st.run() && db.changes() > 0;
}

bool OutboxRows::mark_failed(SqliteDatabase& db, int64_t row, int64_t now) {
    SqliteStatement& st = db.cached(
        "UPDATE messages SET failed = 1, submitted = 0, modification_time = ?2 WHERE id = ?1");
    return st.bind(1, row).bind(2, now).run() && db.changes() > 0;
}
