#include "platform/store/RecipientSends.h"

bool RecipientSends::prepare(SqliteDatabase& db) {
    // The index serves the question "is this received message stored
    // already?", asked for every message a modem hands over.
    return db.exec(
        "CREATE TABLE IF NOT EXISTS recipient_sends("
        "    message_id INTEGER NOT NULL REFERENCES messages(id) ON DELETE CASCADE,"
        "    position   INTEGER NOT NULL,"
        "    state      INTEGER NOT NULL,"
        "    modem_path TEXT NOT NULL DEFAULT '',"
        "    PRIMARY KEY(message_id, position)) WITHOUT ROWID;"
        "CREATE INDEX IF NOT EXISTS messages_by_sender ON messages(sender_address, "
        "delivery_time);");
}

bool RecipientSends::read(SqliteDatabase& db, int64_t row, size_t recipients,
                          std::vector<RecipientSend>& out) {
    out.assign(recipients, RecipientSend{});
    SqliteStatement& st =
        db.cached("SELECT position, state, modem_path FROM recipient_sends WHERE message_id = ?1");
    st.bind(1, row);
    return st.each_row([&] {
        int64_t position = st.column_int(0);
        int64_t state = st.column_int(1);
        if (position < 0 || static_cast<size_t>(position) >= recipients) return;
        // An unknown state is taken as Sending: the recipient may have been
        // sent to, and is asked about instead of being sent to again.
        out[position].state = state == 0   ? RecipientSendState::NotSent
                              : state == 2 ? RecipientSendState::Sent
                                           : RecipientSendState::Sending;
        out[position].modem_path = st.column_utf8(2);
    });
}

bool RecipientSends::write(SqliteDatabase& db, int64_t row, size_t position,
                           const RecipientSend& send) {
    SqliteStatement& st = db.cached(
        "INSERT OR REPLACE INTO recipient_sends(message_id, position, state, modem_path) "
        "SELECT id, ?2, ?3, ?4 FROM messages WHERE id = ?1");
    st.bind(1, row).bind(2, static_cast<int64_t>(position));
    st.bind(3, static_cast<int64_t>(send.state)).bind_utf8(4, send.modem_path);
    return st.run() && db.changes() > 0;
}

bool RecipientSends::forget(SqliteDatabase& db, int64_t row) {
    SqliteStatement& st = db.cached("DELETE FROM recipient_sends WHERE message_id = ?1");
    return st.bind(1, row).run();
}
