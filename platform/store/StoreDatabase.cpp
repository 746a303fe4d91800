#include "platform/store/StoreDatabase.h"

#include <algorithm>
#include <chrono>
#include <filesystem>

#include "platform/LocalTime.h"
#include "platform/Registry.h"
#include "platform/store/MapiTypes.h"

// Entry ids are 8 opaque bytes: a two-letter kind ("QS" store, "QF" folder,
// "QM" message) and the row number, big-endian, so that ids of messages order
// like their arrival. Message row numbers are never reused.
namespace {

constexpr int kSqliteRow = 100;
constexpr int kSqliteDone = 101;
constexpr int kSchemaVersion = 1;

using Bytes = StoreDatabase::Bytes;

Bytes make_id(char a, char b, int64_t row) {
    Bytes id{static_cast<uint8_t>(a), static_cast<uint8_t>(b)};
    for (int shift = 40; shift >= 0; shift -= 8) id.push_back(static_cast<uint8_t>(row >> shift));
    return id;
}

int64_t parse_id(char a, char b, const Bytes& id) {
    if (id.size() != 8 || id[0] != static_cast<uint8_t>(a) || id[1] != static_cast<uint8_t>(b))
        return 0;
    int64_t row = 0;
    for (size_t i = 2; i < 8; ++i) row = row << 8 | id[i];
    return row;
}

Bytes store_id(int64_t row) { return make_id('Q', 'S', row); }
Bytes folder_id(int64_t row) { return make_id('Q', 'F', row); }
Bytes message_id(int64_t row) { return make_id('Q', 'M', row); }

constexpr const char* kSchema = R"sql(
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
    failed            INTEGER NOT NULL DEFAULT 0);
CREATE UNIQUE INDEX IF NOT EXISTS messages_by_folder ON messages(folder_id, seq);
CREATE TABLE IF NOT EXISTS recipients(
    message_id    INTEGER NOT NULL REFERENCES messages(id) ON DELETE CASCADE,
    position      INTEGER NOT NULL,
    type          INTEGER NOT NULL,
    addrtype      TEXT NOT NULL,
    display_name  TEXT NOT NULL,
    email_address TEXT NOT NULL,
    PRIMARY KEY(message_id, position)) WITHOUT ROWID;

-- Each folder keeps its row count, its unread count and a version that
-- changes with every change of its contents, so that counting a folder and
-- noticing that nothing changed cost one row lookup whatever its size.
CREATE TRIGGER IF NOT EXISTS messages_insert AFTER INSERT ON messages BEGIN
    UPDATE folders SET row_count = row_count + 1, unread = unread + ((NEW.flags & 1) = 0),
        version = version + 1 WHERE id = NEW.folder_id;
END;
CREATE TRIGGER IF NOT EXISTS messages_delete AFTER DELETE ON messages BEGIN
    UPDATE folders SET row_count = row_count - 1, unread = unread - ((OLD.flags & 1) = 0),
        version = version + 1 WHERE id = OLD.folder_id;
END;
CREATE TRIGGER IF NOT EXISTS messages_update AFTER UPDATE OF folder_id, flags, seq ON messages BEGIN
    UPDATE folders SET row_count = row_count - 1, unread = unread - ((OLD.flags & 1) = 0),
        version = version + 1 WHERE id = OLD.folder_id;
    UPDATE folders SET row_count = row_count + 1, unread = unread + ((NEW.flags & 1) = 0),
        version = version + 1 WHERE id = NEW.folder_id;
END;
)sql";

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

const RegistryPath kUnreadKey(u"HKEY_CURRENT_USER\\System\\State\\Messages\\SMS\\Unread");

}  // namespace

std::shared_ptr<StoreDatabase> StoreDatabase::open(const std::string& device_folder,
                                                   std::string* error) {
    std::error_code ec;
    std::filesystem::create_directories(device_folder, ec);
    if (ec) {
        if (error) *error = device_folder + ": " + ec.message();
        return nullptr;
    }
    std::unique_ptr<SqliteDatabase> db = SqliteDatabase::open(device_folder + "/store.db", error);
    if (!db) return nullptr;
    std::shared_ptr<StoreDatabase> store(new StoreDatabase(std::move(db)));
    if (!store->create_schema(error)) return nullptr;
    return store;
}

bool StoreDatabase::create_schema(std::string* error) {
    auto fail = [&](const char* what) {
        if (error) *error = std::string(what) + ": " + db_->last_error();
        return false;
    };
    auto version = db_->prepare("PRAGMA user_version");
    if (!version.valid() || version.step() != kSqliteRow) return fail("not a message store");
    int64_t found = version.column_int(0);
    version.reset();
    if (found > kSchemaVersion) return fail("message store of a newer version");
    if (found < kSchemaVersion) {
        SqliteTransaction tx(*db_);
        if (!tx.ok() || !db_->exec(kSchema)) return fail("cannot create the message store");
        auto count = db_->prepare("SELECT count(*) FROM stores");
        count.step();
        if (count.column_int(0) == 0) {
            // The SMS store and, as on a handset, another store beside it.
            db_->exec("INSERT INTO stores(id, display_name) VALUES(1, 'ActiveSync'), (2, 'SMS')");
            db_->exec("INSERT INTO counters(name, value) VALUES('seq', 0)");
            int64_t row = 1;
            for (int store = 1; store <= 2; ++store) {
                for (const FolderSeed& f : kSmsFolders) {
                    auto st = db_->prepare(
                        "INSERT INTO folders(id, store_id, name, kind) VALUES(?1, ?2, ?3, ?4)");
                    st.bind(1, row).bind(2, store).bind(3, std::u16string_view(f.name));
                    st.bind(4, static_cast<int64_t>(f.kind)).step();
                    auto prop = db_->prepare(
                        "INSERT INTO store_props(store_id, tag, folder_id) VALUES(?1, ?2, ?3)");
                    prop.bind(1, store).bind(2, static_cast<int64_t>(f.tag)).bind(3, row).step();
                    ++row;
                }
            }
        }
        db_->exec("PRAGMA user_version = 1");
        if (!tx.commit()) return fail("cannot create the message store");
    }
    for (const FolderSeed& f : kSmsFolders) {
        auto st = db_->prepare(
            "SELECT folders.id FROM folders JOIN stores ON stores.id = folders.store_id "
            "WHERE stores.display_name = 'SMS' AND folders.kind = ?1");
        st.bind(1, static_cast<int64_t>(f.kind));
        if (st.step() != kSqliteRow) return fail("message store without an SMS store");
        sms_folders_[static_cast<int>(f.kind)] = st.column_int(0);
    }
    return true;
}

int64_t StoreDatabase::sms_folder_row(StoreFolderKind kind) {
    return sms_folders_[static_cast<int>(kind)];
}

// --- reading rows -----------------------------------------------------------

namespace {
constexpr const char* kMessageColumns =
    "m.id, f.kind, m.flags, m.subject, m.delivery_time, m.modification_time, m.sender_name, "
    "m.sender_address, m.message_class, m.msg_status, m.delivery_report, m.submitted, m.failed";
}

StoredMessage StoreDatabase::read_row(SqliteStatement& st) {
    StoredMessage m;
    m.entry_id = message_id(st.column_int(0));
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
    return m;
}

void StoreDatabase::load_recipients(int64_t message_row, StoredMessage& message) {
    SqliteStatement& st = db_->cached(
        "SELECT display_name, email_address FROM recipients WHERE message_id = ?1 ORDER BY "
        "position");
    st.bind(1, message_row);
    while (st.step() == kSqliteRow)
        message.recipients.push_back({st.column_text(0), st.column_text(1)});
    st.reset();
}

std::vector<StoredMessage> StoreDatabase::list_messages(std::optional<StoreFolderKind> folder) {
    std::vector<StoredMessage> out;
    std::string sql = std::string("SELECT ") + kMessageColumns +
                      " FROM messages m JOIN folders f ON f.id = m.folder_id "
                      "WHERE f.id IN (?1, ?2, ?3, ?4) ORDER BY f.kind, m.seq";
    SqliteReadTransaction snapshot(*db_);
    auto st = db_->prepare(sql);
    for (int i = 0; i < 4; ++i) {
        StoreFolderKind kind = folder ? *folder : static_cast<StoreFolderKind>(i);
        st.bind(i + 1, sms_folder_row(kind));
    }
    while (st.step() == kSqliteRow) out.push_back(read_row(st));
    st.reset();
    for (StoredMessage& m : out) load_recipients(parse_id('Q', 'M', m.entry_id), m);
    return out;
}

std::optional<StoredMessage> StoreDatabase::find_message(const Bytes& entry_id) {
    return find_in(0, entry_id);
}

std::optional<StoredMessage> StoreDatabase::find_message_in_store(const Bytes& store_entry_id,
                                                                  const Bytes& entry_id) {
    int64_t store = parse_id('Q', 'S', store_entry_id);
    if (store == 0) return std::nullopt;
    return find_in(store, entry_id);
}

std::optional<StoredMessage> StoreDatabase::find_in(int64_t store, const Bytes& entry_id) {
    int64_t row = parse_id('Q', 'M', entry_id);
    if (row == 0) return std::nullopt;
    if (store != 0) return read_ahead(store, row);
    SqliteReadTransaction snapshot(*db_);
    static const std::string kSql = std::string("SELECT ") + kMessageColumns +
                                    " FROM messages m JOIN folders f ON f.id = m.folder_id "
                                    "WHERE m.id = ?1";
    SqliteStatement& st = db_->cached(kSql.c_str());
    st.bind(1, row);
    std::optional<StoredMessage> out;
    if (st.step() == kSqliteRow) out = read_row(st);
    st.reset();
    if (out) load_recipients(row, *out);
    return out;
}

// The program reads the messages of a folder one by one, in the order of the
// folder's contents, when it catches up with the store. Every read on its own
// would be a transaction of its own, and each costs the file-locking calls of
// the shared database; so a read also takes the messages that follow in the
// same folder, in one snapshot, and serves them for a moment. Within that
// moment the reads are exactly as if they had all been made at once; any
// change made through this connection drops them.
std::optional<StoredMessage> StoreDatabase::read_ahead(int64_t store, int64_t row) {
    auto now = std::chrono::steady_clock::now();
    if (read_ahead_.store == store && now - read_ahead_.taken < kReadAheadLife) {
        auto it = read_ahead_.rows.find(row);
        if (it != read_ahead_.rows.end()) {
            StoredMessage m = std::move(it->second);
            read_ahead_.rows.erase(it);
            return m;
        }
    }
    read_ahead_.rows.clear();
    read_ahead_.store = store;
    read_ahead_.taken = now;
    {
        SqliteReadTransaction snapshot(*db_);
        static const std::string kSql =
            std::string("SELECT ") + kMessageColumns +
            " FROM messages m JOIN folders f ON f.id = m.folder_id "
            "WHERE f.store_id = ?2 AND m.folder_id = (SELECT folder_id FROM messages WHERE id = "
            "?1) "
            "AND m.seq >= (SELECT seq FROM messages WHERE id = ?1) ORDER BY m.seq LIMIT ?3";
        SqliteStatement& st = db_->cached(kSql.c_str());
        st.bind(1, row).bind(2, store).bind(3, kReadAheadRows);
        while (st.step() == kSqliteRow) {
            StoredMessage m = read_row(st);
            read_ahead_.rows.emplace(st.column_int(0), std::move(m));
        }
        st.reset();
        // Only messages sent by the device have recipients the program reads.
        for (auto& [id, m] : read_ahead_.rows)
            if (m.flags & 0x20) load_recipients(id, m);
    }
    auto it = read_ahead_.rows.find(row);
    if (it == read_ahead_.rows.end()) return std::nullopt;
    StoredMessage m = std::move(it->second);
    read_ahead_.rows.erase(it);
    return m;
}

// --- the messaging interface's reads -----------------------------------------

std::vector<StoreDatabase::StoreRow> StoreDatabase::stores() {
    std::vector<StoreRow> out;
    auto st = db_->prepare("SELECT id, display_name FROM stores ORDER BY id");
    while (st.step() == kSqliteRow) out.push_back({store_id(st.column_int(0)), st.column_text(1)});
    return out;
}

Bytes StoreDatabase::store_folder_property(const Bytes& store_entry_id, uint32_t tag) {
    int64_t store = parse_id('Q', 'S', store_entry_id);
    auto st = db_->prepare("SELECT folder_id FROM store_props WHERE store_id = ?1 AND tag = ?2");
    st.bind(1, store).bind(2, static_cast<int64_t>(tag));
    if (st.step() != kSqliteRow) return {};
    return folder_id(st.column_int(0));
}

int64_t StoreDatabase::folder_row(const Bytes& store_entry_id, const Bytes& folder_entry_id) {
    int64_t store = parse_id('Q', 'S', store_entry_id);
    int64_t folder = parse_id('Q', 'F', folder_entry_id);
    auto st = db_->prepare("SELECT id FROM folders WHERE id = ?1 AND store_id = ?2");
    st.bind(1, folder).bind(2, store);
    return st.step() == kSqliteRow ? st.column_int(0) : 0;
}

bool StoreDatabase::folder_count(int64_t folder_row, uint32_t& count, int64_t& version) {
    SqliteStatement& st = db_->cached("SELECT row_count, version FROM folders WHERE id = ?1");
    st.bind(1, folder_row);
    bool ok = st.step() == kSqliteRow;
    if (ok) {
        count = static_cast<uint32_t>(st.column_int(0));
        version = st.column_int(1);
    }
    st.reset();
    return ok;
}

bool StoreDatabase::folder_entry_ids(int64_t folder_row, uint32_t first, uint32_t count,
                                     std::vector<Bytes>& out) {
    out.clear();
    // One read transaction, so that the count and the rows agree.
    SqliteReadTransaction snapshot(*db_);
    uint32_t rows = 0;
    int64_t version = 0;
    if (!folder_count(folder_row, rows, version)) return false;
    uint32_t take = first >= rows ? 0 : std::min(count, rows - first);
    std::vector<int64_t> seqs;
    if (take > 0) {
        Anchor anchor = anchors_[folder_row];
        // Contents-table positions are counted through the (folder, seq)
        // index: from the last batch when reading on, otherwise from the
        // nearer end of the table, so that a read near the end of a large
        // folder (the usual case: new messages) never walks the whole folder.
        SqliteStatement* st;
        bool reverse = false;
        if (anchor.version == version && anchor.next_position == first) {
            st = &db_->cached(
                "SELECT id, seq FROM messages WHERE folder_id = ?1 AND seq > ?2 ORDER BY seq LIMIT "
                "?3");
            st->bind(1, folder_row).bind(2, anchor.last_seq).bind(3, static_cast<int64_t>(take));
        } else if (first > rows / 2) {
            reverse = true;
            st = &db_->cached(
                "SELECT id, seq FROM messages WHERE folder_id = ?1 ORDER BY seq DESC LIMIT ?2 "
                "OFFSET ?3");
            st->bind(1, folder_row).bind(2, static_cast<int64_t>(take));
            st->bind(3, static_cast<int64_t>(rows - first - take));
        } else {
            st = &db_->cached(
                "SELECT id, seq FROM messages WHERE folder_id = ?1 ORDER BY seq LIMIT ?2 OFFSET "
                "?3");
            st->bind(1, folder_row)
                .bind(2, static_cast<int64_t>(take))
                .bind(3, static_cast<int64_t>(first));
        }
        while (st->step() == kSqliteRow) {
            out.push_back(message_id(st->column_int(0)));
            seqs.push_back(st->column_int(1));
        }
        st->reset();
        if (reverse) {
            std::reverse(out.begin(), out.end());
            std::reverse(seqs.begin(), seqs.end());
        }
        if (!seqs.empty())
            anchors_[folder_row] = {version, first + static_cast<uint32_t>(seqs.size()),
                                    seqs.back()};
    }
    return true;
}

// --- changes -------------------------------------------------------------------

Bytes StoreDatabase::insert_locked(int64_t folder_row, const StoredMessage& m) {
    SqliteStatement& seq =
        db_->cached("UPDATE counters SET value = value + 1 WHERE name = 'seq' RETURNING value");
    if (seq.step() != kSqliteRow) return {};
    int64_t next = seq.column_int(0);
    seq.reset();
    SqliteStatement& st = db_->cached(
        "INSERT INTO messages(folder_id, seq, flags, subject, delivery_time, modification_time, "
        "sender_name, sender_address, message_class, msg_status, delivery_report, submitted, "
        "failed) "
        "VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13)");
    st.bind(1, folder_row).bind(2, next).bind(3, static_cast<int64_t>(m.flags)).bind(4, m.body);
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
    st.bind(12, m.submitted ? 1 : 0).bind(13, m.failed ? 1 : 0);
    int rc = st.step();
    st.reset();
    if (rc != kSqliteDone) return {};
    int64_t row = db_->last_insert_rowid();
    int64_t position = 0;
    for (const StoredRecipient& r : m.recipients) {
        SqliteStatement& rs = db_->cached(
            "INSERT INTO recipients(message_id, position, type, addrtype, display_name, "
            "email_address) "
            "VALUES(?1, ?2, 1, 'SMS', ?3, ?4)");
        rs.bind(1, row).bind(2, position++).bind(3, r.name).bind(4, r.number);
        rc = rs.step();
        rs.reset();
        if (rc != kSqliteDone) return {};
    }
    return message_id(row);
}

Bytes StoreDatabase::add_message(const StoredMessage& message) {
    read_ahead_.rows.clear();
    if (message.folder > StoreFolderKind::Outbox) return {};
    Bytes id;
    {
        SqliteTransaction tx(*db_);
        if (!tx.ok()) return {};
        id = insert_locked(sms_folder_row(message.folder), message);
        if (id.empty() || !tx.commit()) return {};
    }
    publish_unread_count();
    return id;
}

bool StoreDatabase::add_messages(const std::vector<StoredMessage>& messages,
                                 const std::function<void(size_t, size_t)>& progress) {
    read_ahead_.rows.clear();
    {
        SqliteTransaction tx(*db_);
        if (!tx.ok()) return false;
        for (size_t i = 0; i < messages.size(); ++i) {
            if (messages[i].folder > StoreFolderKind::Outbox) return false;
            if (insert_locked(sms_folder_row(messages[i].folder), messages[i]).empty())
                return false;
            if (progress && (i % 1000 == 999 || i + 1 == messages.size()))
                progress(i + 1, messages.size());
        }
        if (!tx.commit()) return false;
    }
    publish_unread_count();
    return true;
}

bool StoreDatabase::delete_message(const Bytes& entry_id) {
    read_ahead_.rows.clear();
    int64_t row = parse_id('Q', 'M', entry_id);
    if (row == 0) return false;
    {
        SqliteTransaction tx(*db_);
        if (!tx.ok()) return false;
        auto st = db_->prepare("DELETE FROM messages WHERE id = ?1");
        st.bind(1, row);
        if (st.step() != kSqliteDone || db_->changes() == 0) return false;
        if (!tx.commit()) return false;
    }
    publish_unread_count();
    return true;
}

bool StoreDatabase::delete_messages(int64_t folder_row, const std::vector<Bytes>& entry_ids) {
    read_ahead_.rows.clear();
    {
        SqliteTransaction tx(*db_);
        if (!tx.ok()) return false;
        for (const Bytes& id : entry_ids) {
            int64_t row = parse_id('Q', 'M', id);
            auto st = db_->prepare("DELETE FROM messages WHERE id = ?1 AND folder_id = ?2");
            st.bind(1, row).bind(2, folder_row);
            if (row == 0 || st.step() != kSqliteDone || db_->changes() == 0) return false;
        }
        if (!tx.commit()) return false;
    }
    publish_unread_count();
    return true;
}

bool StoreDatabase::set_flags(const Bytes& entry_id, uint32_t flags) {
    read_ahead_.rows.clear();
    int64_t row = parse_id('Q', 'M', entry_id);
    if (row == 0) return false;
    {
        SqliteTransaction tx(*db_);
        if (!tx.ok()) return false;
        auto st = db_->prepare("UPDATE messages SET flags = ?2 WHERE id = ?1");
        st.bind(1, row).bind(2, static_cast<int64_t>(flags));
        if (st.step() != kSqliteDone || db_->changes() == 0) return false;
        if (!tx.commit()) return false;
    }
    publish_unread_count();
    return true;
}

bool StoreDatabase::set_read(const Bytes& entry_id, bool read) {
    std::optional<StoredMessage> m = find_message(entry_id);
    if (!m) return false;
    uint32_t flags = read ? (m->flags | 0x01) : (m->flags & ~0x01u);
    return flags == m->flags || set_flags(entry_id, flags);
}

Bytes StoreDatabase::submit(int64_t folder_row, StoredMessage message) {
    read_ahead_.rows.clear();
    Bytes id;
    {
        SqliteTransaction tx(*db_);
        if (!tx.ok()) return {};
        id = insert_locked(folder_row, message);
        if (id.empty() || !tx.commit()) return {};
    }
    publish_unread_count();
    return id;
}

std::optional<StoreDatabase::TransmitResult> StoreDatabase::transmit(
    const std::vector<std::u16string>& fail_numbers) {
    read_ahead_.rows.clear();
    auto digits = [](const std::u16string& n) {
        std::u16string d;
        for (char16_t c : n)
            if (c >= u'0' && c <= u'9') d.push_back(c);
        return d;
    };
    auto fails = [&](const std::u16string& number) {
        for (const std::u16string& f : fail_numbers)
            if (f == number || (!digits(f).empty() && digits(f) == digits(number))) return true;
        return false;
    };
    TransmitResult result;
    {
        SqliteTransaction tx(*db_);
        if (!tx.ok()) return std::nullopt;
        std::vector<StoredMessage> waiting;
        {
            std::string sql =
                std::string("SELECT ") + kMessageColumns +
                " FROM messages m JOIN folders f ON f.id = m.folder_id "
                "WHERE m.folder_id = ?1 AND m.submitted = 1 AND m.failed = 0 ORDER BY m.seq";
            auto st = db_->prepare(sql);
            st.bind(1, sms_folder_row(StoreFolderKind::Outbox));
            while (st.step() == kSqliteRow) waiting.push_back(read_row(st));
        }
        int64_t now = local_time::now_utc();
        for (StoredMessage& m : waiting) {
            int64_t row = parse_id('Q', 'M', m.entry_id);
            load_recipients(row, m);
            bool failed = false;
            for (const StoredRecipient& r : m.recipients) failed |= fails(r.number);
            if (failed) {
                auto st = db_->prepare(
                    "UPDATE messages SET failed = 1, submitted = 0, modification_time = ?2 WHERE "
                    "id = ?1");
                st.bind(1, row).bind(2, now).step();
                ++result.failed;
                continue;
            }
            SqliteStatement& seq = db_->cached(
                "UPDATE counters SET value = value + 1 WHERE name = 'seq' RETURNING value");
            seq.step();
            int64_t next = seq.column_int(0);
            seq.reset();
            auto st = db_->prepare(
                "UPDATE messages SET folder_id = ?2, seq = ?3, flags = flags & ~8, submitted = 0, "
                "delivery_time = ?4, modification_time = ?4 WHERE id = ?1");
            st.bind(1, row)
                .bind(2, sms_folder_row(StoreFolderKind::SentItems))
                .bind(3, next)
                .bind(4, now);
            if (st.step() != kSqliteDone) return std::nullopt;
            ++result.sent;
            if (!m.delivery_report_requested) continue;
            for (const StoredRecipient& r : m.recipients) {
                StoredMessage report;
                report.folder = StoreFolderKind::Inbox;
                report.flags = 0x01;
                report.delivery_time = now;
                report.modification_time = now;
                report.sender_number = r.number;
                report.message_class = u"REPORT.IPM.SMStext.DR";
                report.body = u"Message to " + r.number + u" delivered";
                if (insert_locked(sms_folder_row(StoreFolderKind::Inbox), report).empty())
                    return std::nullopt;
                ++result.reports;
            }
        }
        if (!tx.commit()) return std::nullopt;
    }
    publish_unread_count();
    return result;
}

uint32_t StoreDatabase::unread_count() {
    SqliteStatement& st = db_->cached("SELECT unread FROM folders WHERE id = ?1");
    st.bind(1, sms_folder_row(StoreFolderKind::Inbox));
    uint32_t count = st.step() == kSqliteRow ? static_cast<uint32_t>(st.column_int(0)) : 0;
    st.reset();
    return count;
}

void StoreDatabase::publish_unread_count() {
    // Computed inside the registry's transaction: of two processes that
    // changed the store, the one writing last writes the latest count.
    registry::update_number(kUnreadKey, u"Count",
                            [this]() -> std::optional<uint32_t> { return unread_count(); });
}
