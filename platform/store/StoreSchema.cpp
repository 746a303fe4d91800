#include "platform/store/StoreSchema.h"

#include "platform/store/MapiTypes.h"
#include "platform/store/MessageFlags.h"
#include "platform/store/StoredMessage.h"

namespace {

// 2: messages keep the service centre a received message came through.
constexpr int kSchemaVersion = 2;

const char* const kTables = R"sql(
CREATE TABLE IF NOT EXISTS stores(
    id           INTEGER PRIMARY KEY,
    display_name TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS folders(
    id        INTEGER PRIMARY KEY,
    store_id  INTEGER NOT NULL REFERENCES stores(id),
    name      TEXT NOT NULL,
    kind      INTEGER NOT NULL,
    row_count INTEGER NOT NULL DEFAULT 0,
    unread    INTEGER NOT NULL DEFAULT 0,
    version   INTEGER NOT NULL DEFAULT 0);
CREATE TABLE IF NOT EXISTS store_props(
    store_id  INTEGER NOT NULL REFERENCES stores(id),
    tag       INTEGER NOT NULL,
    folder_id INTEGER NOT NULL REFERENCES folders(id),
    PRIMARY KEY(store_id, tag));
CREATE TABLE IF NOT EXISTS counters(
    name  TEXT PRIMARY KEY,
    value INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS messages(
    id                INTEGER PRIMARY KEY AUTOINCREMENT,
    folder_id         INTEGER NOT NULL REFERENCES folders(id),
    seq               INTEGER NOT NULL,
    flags             INTEGER NOT NULL,
    subject           TEXT NOT NULL,
    delivery_time     INTEGER,
    modification_time INTEGER,
    sender_name       TEXT NOT NULL DEFAULT '',
    sender_address    TEXT NOT NULL DEFAULT '',
    message_class     TEXT NOT NULL,
    msg_status        INTEGER NOT NULL DEFAULT 0,
    delivery_report   INTEGER NOT NULL DEFAULT 0,
    submitted         INTEGER NOT NULL DEFAULT 0,
    failed            INTEGER NOT NULL DEFAULT 0,
    smsc              TEXT NOT NULL DEFAULT '');
CREATE UNIQUE INDEX IF NOT EXISTS messages_by_folder ON messages(folder_id, seq);
CREATE TABLE IF NOT EXISTS recipients(
    message_id    INTEGER NOT NULL REFERENCES messages(id) ON DELETE CASCADE,
    position      INTEGER NOT NULL,
    type          INTEGER NOT NULL,
    addrtype      TEXT NOT NULL,
    display_name  TEXT NOT NULL,
    email_address TEXT NOT NULL,
    PRIMARY KEY(message_id, position)) WITHOUT ROWID;
)sql";

// Each folder keeps its row count, its unread count and a version that
// changes with every change of its contents, so that counting a folder and
// noticing that nothing changed cost one row lookup whatever its size.
std::string triggers() {
    const std::string unread = "((NEW.flags & " + std::to_string(kMsgFlagRead) + ") = 0)";
    const std::string was_unread = "((OLD.flags & " + std::to_string(kMsgFlagRead) + ") = 0)";
    const std::string add = "UPDATE folders SET row_count = row_count + 1, unread = unread + " +
                            unread + ", version = version + 1 WHERE id = NEW.folder_id;\n";
    const std::string remove = "UPDATE folders SET row_count = row_count - 1, unread = unread - " +
                               was_unread + ", version = version + 1 WHERE id = OLD.folder_id;\n";
    return "CREATE TRIGGER IF NOT EXISTS messages_insert AFTER INSERT ON messages BEGIN\n" + add +
           "END;\n"
           "CREATE TRIGGER IF NOT EXISTS messages_delete AFTER DELETE ON messages BEGIN\n" +
           remove +
           "END;\n"
           "CREATE TRIGGER IF NOT EXISTS messages_update AFTER UPDATE OF folder_id, flags, seq "
           "ON messages BEGIN\n" +
           remove + add + "END;\n";
}

struct FolderSeed {
    const char16_t* name;
    StoreFolderKind kind;
    uint32_t tag;
};

// The SMS store's folders and the store properties that name them.
constexpr FolderSeed kSmsFolders[] = {
    {u"Inbox", StoreFolderKind::Inbox, mapi::PR_CE_IPM_INBOX_ENTRYID},
    {u"Sent Items", StoreFolderKind::SentItems, mapi::PR_IPM_SENTMAIL_ENTRYID},
    {u"Drafts", StoreFolderKind::Drafts, mapi::PR_CE_IPM_DRAFTS_ENTRYID},
    {u"Outbox", StoreFolderKind::Outbox, mapi::PR_IPM_OUTBOX_ENTRYID},
    {u"Message Folders", StoreFolderKind::Root, mapi::PR_IPM_SUBTREE_ENTRYID},
    {u"Deleted Items", StoreFolderKind::DeletedItems, mapi::PR_IPM_WASTEBASKET_ENTRYID},
};

}  // namespace

bool StoreSchema::create(SqliteDatabase& db) {
    SqliteTransaction tx(db);
    if (!tx.ok() || !db.exec(kTables) || !db.exec(triggers())) return false;
    // A store of the first version gets the column its messages lack; their
    // service centre is then unknown, as for messages written here.
    auto columns =
        db.prepare("SELECT count(*) FROM pragma_table_info('messages') WHERE name = 'smsc'");
    if (columns.step() != SqliteStep::Row) return false;
    if (columns.column_int(0) == 0 &&
        !db.exec("ALTER TABLE messages ADD COLUMN smsc TEXT NOT NULL DEFAULT ''"))
        return false;
    auto count = db.prepare("SELECT count(*) FROM stores");
    if (count.step() != SqliteStep::Row) return false;
    if (count.column_int(0) == 0) {
        // The SMS store and, as on a handset, another store beside it.
        if (!db.exec("INSERT INTO stores(id, display_name) VALUES(1, 'ActiveSync'), (2, 'SMS');"
                     "INSERT INTO counters(name, value) VALUES('seq', 0)"))
            return false;
        auto folder =
            db.prepare("INSERT INTO folders(id, store_id, name, kind) VALUES(?1, ?2, ?3, ?4)");
        auto prop =
            db.prepare("INSERT INTO store_props(store_id, tag, folder_id) VALUES(?1, ?2, ?3)");
        int64_t row = 1;
        for (int store = 1; store <= 2; ++store) {
            for (const FolderSeed& f : kSmsFolders) {
                folder.bind(1, row).bind(2, store).bind(3, std::u16string_view(f.name));
                folder.bind(4, static_cast<int64_t>(f.kind));
                prop.bind(1, store).bind(2, static_cast<int64_t>(f.tag)).bind(3, row);
                if (!folder.run() || !prop.run()) return false;
                ++row;
            }
        }
    }
    return db.set_schema_version(kSchemaVersion) && tx.commit();
}

bool StoreSchema::prepare(SqliteDatabase& db, SmsFolderRows& rows, std::string* error) {
    auto fail = [&](const std::string& what) {
        if (error) *error = what;
        return false;
    };
    std::optional<int64_t> version = db.schema_version();
    if (!version) return fail(db.failure_text());
    int64_t found = *version;
    if (found > kSchemaVersion) return fail(db.path() + " is a message store of a newer version");
    if (found < kSchemaVersion && !create(db)) return fail(db.failure_text());

    auto st = db.prepare(
        "SELECT folders.id FROM folders JOIN stores ON stores.id = folders.store_id "
        "WHERE stores.display_name = 'SMS' AND folders.kind = ?1");
    for (const FolderSeed& f : kSmsFolders) {
        st.bind(1, static_cast<int64_t>(f.kind));
        SqliteStep step = st.step();
        if (step == SqliteStep::Error) return fail(db.failure_text());
        if (step == SqliteStep::Done) return fail(db.path() + " holds no SMS store");
        rows[static_cast<size_t>(f.kind)] = st.column_int(0);
        st.reset();
    }
    return true;
}
