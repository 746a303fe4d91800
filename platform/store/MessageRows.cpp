#include "platform/store/MessageRows.h"

#include "platform/store/StoreIds.h"

const char* const MessageRows::kColumns =
    "m.id, f.kind, m.flags, m.subject, m.delivery_time, m.modification_time, m.sender_name, "
    "m.sender_address, m.message_class, m.msg_status, m.delivery_report, m.submitted, m.failed, "
    "m.smsc";

StoredMessage MessageRows::read(const SqliteStatement& st) {
    StoredMessage m;
    m.entry_id = store_ids::of_message(st.column_int(0));
    m.folder = static_cast<StoreFolderKind>(st.column_int(1));
    m.flags = static_cast<uint32_t>(st.column_int(2));
    m.body = st.column_text(3);
    if (!st.column_is_null(4)) m.delivery_time = st.column_int(4);
    if (!st.column_is_null(5)) m.modification_time = st.column_int(5);
    m.sender_name = st.column_text(6);
    m.sender_number = st.column_text(7);
    m.message_class = st.column_text(8);
    m.msg_status = static_cast<uint32_t>(st.column_int(9));
    m.delivery_report_requested = st.column_int(10) != 0;
    m.submitted = st.column_int(11) != 0;
    m.failed = st.column_int(12) != 0;
    m.smsc = st.column_text(13);
    return m;
}

bool MessageRows::load_recipients(SqliteDatabase& db, int64_t row, StoredMessage& message) {
    SqliteStatement& st = db.cached(
        "SELECT display_name, email_address FROM recipients WHERE message_id = ?1 ORDER BY "
        "position");
    st.bind(1, row);
    return st.each_row([&] {
        message.recipients.push_back({st.column_text(0), st.column_text(1)});
    });
}

int64_t MessageRows::next_seq(SqliteDatabase& db) {
    SqliteStatement& st =
        db.cached("UPDATE counters SET value = value + 1 WHERE name = 'seq' RETURNING value");
    // The update is made in full by the first step of a RETURNING statement.
    int64_t next = st.step() == SqliteStep::Row ? st.column_int(0) : 0;
    st.reset();
    return next;
}

int64_t MessageRows::insert(SqliteDatabase& db, int64_t folder_row, const StoredMessage& m) {
    int64_t seq = next_seq(db);
    if (seq == 0) return 0;
    SqliteStatement& st = db.cached(
        "INSERT INTO messages(folder_id, seq, flags, subject, delivery_time, modification_time, "
        "sender_name, sender_address, message_class, msg_status, delivery_report, submitted, "
        "failed, smsc) "
        "VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14)");
    st.bind(1, folder_row).bind(2, seq).bind(3, static_cast<int64_t>(m.flags)).bind(4, m.body);
    if (m.delivery_time)
        st.bind(5, *m.delivery_time);
    else
        st.bind_null(5);
    if (m.modification_time)
        st.bind(6, *m.modification_time);
    else
        st.bind_null(6);
    st.bind(7, m.sender_name).bind(8, m.sender_number).bind(9, m.message_class);
    st.bind(10, static_cast<int64_t>(m.msg_status)).bind(11, m.delivery_report_requested ? 1 : 0);
    st.bind(12, m.submitted ? 1 : 0).bind(13, m.failed ? 1 : 0).bind(14, m.smsc);
    if (!st.run()) return 0;
    int64_t row = db.last_insert_rowid();
    int64_t position = 0;
    SqliteStatement& rs = db.cached(
        "INSERT INTO recipients(message_id, position, type, addrtype, display_name, "
        "email_address) VALUES(?1, ?2, 1, 'SMS', ?3, ?4)");
    for (const StoredRecipient& r : m.recipients) {
        rs.bind(1, row).bind(2, position++).bind(3, r.name).bind(4, r.number);
        if (!rs.run()) return 0;
    }
    return row;
}
