// The message store.
//
//   opening .......................... the file, its schema, the SMS folders
//   failures and the write helper .... one transaction per change, the counter
//   the system's side ................ add, list, find, delete, read flags
//   the transport's side ............. arrivals, the Outbox one recipient at a time
//   the messaging interface .......... stores, folders, contents, messages
#include "platform/store/StoreDatabase.h"

#include <filesystem>

#include "platform/LocalTime.h"
#include "platform/Log.h"
#include "platform/Registry.h"
#include "platform/store/MessageFlags.h"
#include "platform/store/MessageRows.h"
#include "platform/store/OutboxRows.h"
#include "platform/store/StoreIds.h"

namespace {

using Bytes = StoreDatabase::Bytes;

const RegistryPath kUnreadKey(u"HKEY_CURRENT_USER\\System\\State\\Messages\\SMS\\Unread");

}  // namespace

// --- opening -------------------------------------------------------------------

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
    if (!StoreSchema::prepare(*store->db_, store->sms_folders_, error)) return nullptr;
    return store;
}

int64_t StoreDatabase::sms_folder_row(StoreFolderKind kind) const {
    return sms_folders_[static_cast<size_t>(kind)];
}

// --- failures and the write helper ---------------------------------------------

void StoreDatabase::begin_operation() {
    last_error_.clear();
    db_->forget_failure();
}

bool StoreDatabase::fail(const char16_t* what, const std::string& refusal) {
    if (db_->last_failure()) {
        last_error_ = db_->failure_text();
        log() << what << u" failed: " << db_->last_failure().name() << u"\n";
    } else {
        last_error_ = refusal;
        log() << what << u" failed\n";
    }
    return false;
}

bool StoreDatabase::body_fits(const StoredMessage& message) {
    if (message.body.size() <= kMaxBodyLength) return true;
    last_error_ = "the message text is longer than " + std::to_string(kMaxBodyLength) +
                  " characters, the most an SMS can carry";
    log() << u"message text too long\n";
    return false;
}

bool StoreDatabase::write(const char16_t* what, const std::function<bool()>& change) {
    // Whatever was read ahead may be about to change.
    read_ahead_.clear();
    {
        SqliteTransaction tx(*db_);
        if (!tx.ok() || !change() || !tx.commit()) return fail(what);
    }
    publish_unread_count();
    return true;
}

void StoreDatabase::publish_unread_count() {
    // Computed inside the registry's transaction: of two processes that
    // changed the store, the one writing last writes the latest count.
    bool counted = true;
    bool written = registry::update_number(kUnreadKey, u"Count", [&] {
        std::optional<uint32_t> count = unread_count();
        counted = count.has_value();
        return count;
    });
    if (!written || !counted) log() << u"unread counter not published\n";
}

std::optional<uint32_t> StoreDatabase::unread_count() {
    SqliteStatement& st = db_->cached("SELECT unread FROM folders WHERE id = ?1");
    st.bind(1, sms_folder_row(StoreFolderKind::Inbox));
    std::optional<uint32_t> count;
    if (st.step() == SqliteStep::Row) count = static_cast<uint32_t>(st.column_int(0));
    st.reset();
    return count;
}

// --- the system's side -----------------------------------------------------------

Bytes StoreDatabase::add_message(const StoredMessage& message) {
    begin_operation();
    if (message.folder > StoreFolderKind::Outbox) {
        fail(u"add_message", "messages are filed in the Inbox, Sent Items, Drafts or Outbox");
        return {};
    }
    if (!body_fits(message)) return {};
    int64_t row = 0;
    bool ok = write(u"add_message", [&] {
        row = MessageRows::insert(*db_, sms_folder_row(message.folder), message);
        return row != 0;
    });
    return ok ? store_ids::of_message(row) : Bytes();
}

bool StoreDatabase::add_messages(const std::vector<StoredMessage>& messages,
                                 const std::function<void(size_t, size_t)>& progress) {
    begin_operation();
    for (const StoredMessage& m : messages) {
        if (m.folder > StoreFolderKind::Outbox)
            return fail(u"add_messages",
                        "messages are filed in the Inbox, Sent Items, Drafts or Outbox");
        if (!body_fits(m)) return false;
    }
    return write(u"add_messages", [&] {
        for (size_t i = 0; i < messages.size(); ++i) {
            if (MessageRows::insert(*db_, sms_folder_row(messages[i].folder), messages[i]) == 0)
                return false;
            if (progress && (i % 1000 == 999 || i + 1 == messages.size()))
                progress(i + 1, messages.size());
        }
        return true;
    });
}

std::optional<std::vector<StoredMessage>> StoreDatabase::list_messages(
    std::optional<StoreFolderKind> folder) {
    begin_operation();
    std::vector<StoredMessage> out;
    SqliteReadTransaction snapshot(*db_);
    auto st = db_->prepare(std::string("SELECT ") + MessageRows::kColumns +
                           " FROM messages m JOIN folders f ON f.id = m.folder_id "
                           "WHERE f.id IN (?1, ?2, ?3, ?4) ORDER BY f.kind, m.seq");
    for (int i = 0; i < 4; ++i) {
        StoreFolderKind kind = folder ? *folder : static_cast<StoreFolderKind>(i);
        st.bind(i + 1, sms_folder_row(kind));
    }
    if (!st.each_row([&] { out.push_back(MessageRows::read(st)); })) {
        fail(u"list_messages");
        return std::nullopt;
    }
    for (StoredMessage& m : out) {
        if (!MessageRows::load_recipients(*db_, store_ids::message_row(m.entry_id), m)) {
            fail(u"list_messages");
            return std::nullopt;
        }
    }
    return out;
}

std::optional<StoredMessage> StoreDatabase::find_message(const Bytes& entry_id) {
    begin_operation();
    return find_in(0, entry_id);
}

std::optional<StoredMessage> StoreDatabase::find_in(int64_t store, const Bytes& entry_id) {
    int64_t row = store_ids::message_row(entry_id);
    if (row == 0) return std::nullopt;
    std::optional<StoredMessage> out;
    if (store != 0) {
        out = read_ahead_.read(store, row);
    } else {
        SqliteReadTransaction snapshot(*db_);
        static const std::string kSql = std::string("SELECT ") + MessageRows::kColumns +
                                        " FROM messages m JOIN folders f ON f.id = m.folder_id "
                                        "WHERE m.id = ?1";
        SqliteStatement& st = db_->cached(kSql.c_str());
        st.bind(1, row);
        if (st.step() == SqliteStep::Row) out = MessageRows::read(st);
        st.reset();
        if (out && !MessageRows::load_recipients(*db_, row, *out)) out.reset();
    }
    if (!out && db_->last_failure()) fail(u"find_message");
    return out;
}

bool StoreDatabase::delete_message(const Bytes& entry_id) {
    begin_operation();
    int64_t row = store_ids::message_row(entry_id);
    if (row == 0) return false;
    return write(u"delete_message", [&] {
        SqliteStatement& st = db_->cached("DELETE FROM messages WHERE id = ?1");
        return st.bind(1, row).run() && db_->changes() > 0;
    });
}

bool StoreDatabase::set_read(const Bytes& entry_id, bool read) {
    begin_operation();
    int64_t row = store_ids::message_row(entry_id);
    if (row == 0) return false;
    return write(u"set_read", [&] {
        SqliteStatement& exists = db_->cached("SELECT 1 FROM messages WHERE id = ?1");
        SqliteStep found = exists.bind(1, row).step();
        exists.reset();
        if (found != SqliteStep::Row) return false;
        SqliteStatement& st = db_->cached(
            read ? "UPDATE messages SET flags = flags | ?2 WHERE id = ?1 AND (flags & ?2) = 0"
                 : "UPDATE messages SET flags = flags & ~?2 WHERE id = ?1 AND (flags & ?2) != 0");
        return st.bind(1, row).bind(2, static_cast<int64_t>(kMsgFlagRead)).run();
    });
}

bool StoreDatabase::set_read_flags(const std::vector<Bytes>& entry_ids, bool read) {
    begin_operation();
    return write(u"set_read_flags", [&] {
        // Only messages whose flag differs are written, so that a folder
        // whose messages are all read already keeps its version.
        SqliteStatement& st = db_->cached(
            read ? "UPDATE messages SET flags = flags | ?2 WHERE id = ?1 AND (flags & ?2) = 0"
                 : "UPDATE messages SET flags = flags & ~?2 WHERE id = ?1 AND (flags & ?2) != 0");
        for (const Bytes& id : entry_ids) {
            int64_t row = store_ids::message_row(id);
            if (row == 0) continue;
            if (!st.bind(1, row).bind(2, static_cast<int64_t>(kMsgFlagRead)).run()) return false;
        }
        return true;
    });
}

std::optional<StoreDatabase::TransmitResult> StoreDatabase::transmit(
    const std::vector<std::u16string>& fail_numbers) {
    begin_operation();
    TransmitResult result;
    LoopbackTransport transport(*db_, sms_folders_, fail_numbers);
    if (!write(u"transmit", [&] { return transport.run(result); })) return std::nullopt;
    return result;
}

// --- the transport's side -------------------------------------------------------

bool StoreDatabase::prepare_transport_tables() {
    if (transport_tables_) return true;
    SqliteTransaction tx(*db_);
    transport_tables_ = tx.ok() && RecipientSends::prepare(*db_) && tx.commit();
    return transport_tables_ || fail(u"prepare_transport_tables");
}

StoreDatabase::Arrival StoreDatabase::file_received(const StoredMessage& message) {
    begin_operation();
    if (!prepare_transport_tables()) return Arrival::Failed;
    if (!body_fits(message)) return Arrival::Failed;
    StoredMessage m = message;
    m.folder = StoreFolderKind::Inbox;
    bool found = false;
    bool ok = write(u"file_received", [&] {
        SqliteStatement& same = db_->cached(
            "SELECT 1 FROM messages WHERE sender_address = ?1 AND delivery_time IS ?2 AND "
            "subject = ?3 AND message_class = ?4 AND folder_id = ?5 LIMIT 1");
        same.bind(1, m.sender_number);
        if (m.delivery_time)
            same.bind(2, *m.delivery_time);
        else
            same.bind_null(2);
        same.bind(3, m.body).bind(4, m.message_class);
        same.bind(5, sms_folder_row(StoreFolderKind::Inbox));
        SqliteStep step = same.step();
        same.reset();
        if (step == SqliteStep::Error) return false;
        found = step == SqliteStep::Row;
        return found || MessageRows::insert(*db_, sms_folder_row(StoreFolderKind::Inbox), m) != 0;
    });
    if (!ok) return Arrival::Failed;
    return found ? Arrival::AlreadyFiled : Arrival::Filed;
}

std::optional<std::vector<StoreDatabase::OutboxEntry>> StoreDatabase::outbox_to_send(
    bool with_failed) {
    begin_operation();
    if (!prepare_transport_tables()) return std::nullopt;
    std::vector<StoredMessage> waiting;
    std::vector<OutboxEntry> out;
    SqliteReadTransaction snapshot(*db_);
    if (!OutboxRows::waiting(
            *db_, sms_folder_row(StoreFolderKind::Outbox),
            with_failed ? OutboxRows::Waiting::SubmittedOrFailed : OutboxRows::Waiting::Submitted,
            waiting)) {
        fail(u"outbox_to_send");
        return std::nullopt;
    }
    for (StoredMessage& m : waiting) {
        OutboxEntry entry;
        if (!RecipientSends::read(*db_, store_ids::message_row(m.entry_id), m.recipients.size(),
                                  entry.sends)) {
            fail(u"outbox_to_send");
            return std::nullopt;
        }
        entry.message = std::move(m);
        out.push_back(std::move(entry));
    }
    return out;
}

bool StoreDatabase::record_send(const Bytes& entry_id, size_t position, const RecipientSend& send) {
    begin_operation();
    int64_t row = store_ids::message_row(entry_id);
    if (row == 0 || !prepare_transport_tables()) return false;
    return write(u"record_send", [&] { return RecipientSends::write(*db_, row, position, send); });
}

bool StoreDatabase::move_to_sent(const Bytes& entry_id) {
    begin_operation();
    int64_t row = store_ids::message_row(entry_id);
    if (row == 0 || !prepare_transport_tables()) return false;
    return write(u"move_to_sent", [&] {
        return OutboxRows::move_to_sent(*db_, sms_folder_row(StoreFolderKind::SentItems), row,
                                        local_time::now_utc()) &&
               RecipientSends::forget(*db_, row);
    });
}

bool StoreDatabase::mark_failed(const Bytes& entry_id) {
    begin_operation();
    int64_t row = store_ids::message_row(entry_id);
    if (row == 0) return false;
    return write(u"mark_failed",
                 [&] { return OutboxRows::mark_failed(*db_, row, local_time::now_utc()); });
}

// --- the messaging interface --------------------------------------------------

std::vector<StoreDatabase::StoreRow> StoreDatabase::stores() {
    begin_operation();
    std::vector<StoreRow> out;
    auto st = db_->prepare("SELECT id, display_name FROM stores ORDER BY id");
    if (!st.each_row([&] {
            out.push_back({store_ids::of_store(st.column_int(0)), st.column_text(1)});
        })) {
        fail(u"stores");
        out.clear();
    }
    return out;
}

Bytes StoreDatabase::store_folder_property(const Bytes& store_entry_id, uint32_t tag) {
    begin_operation();
    auto st = db_->prepare("SELECT folder_id FROM store_props WHERE store_id = ?1 AND tag = ?2");
    st.bind(1, store_ids::store_row(store_entry_id)).bind(2, static_cast<int64_t>(tag));
    SqliteStep step = st.step();
    if (step == SqliteStep::Error) fail(u"store_folder_property");
    return step == SqliteStep::Row ? store_ids::of_folder(st.column_int(0)) : Bytes();
}

int64_t StoreDatabase::folder_row(const Bytes& store_entry_id, const Bytes& folder_entry_id) {
    begin_operation();
    auto st = db_->prepare("SELECT id FROM folders WHERE id = ?1 AND store_id = ?2");
    st.bind(1, store_ids::folder_row(folder_entry_id))
        .bind(2, store_ids::store_row(store_entry_id));
    SqliteStep step = st.step();
    if (step == SqliteStep::Error) fail(u"folder_row");
    return step == SqliteStep::Row ? st.column_int(0) : 0;
}

bool StoreDatabase::folder_count(int64_t folder_row, uint32_t& count, int64_t& version) {
    begin_operation();
    return contents_.count(folder_row, count, version) || fail(u"folder_count");
}

bool StoreDatabase::folder_entry_ids(int64_t folder_row, uint32_t first, uint32_t count,
                                     std::vector<Bytes>& out) {
    begin_operation();
    return contents_.entry_ids(folder_row, first, count, out) || fail(u"folder_entry_ids");
}

std::optional<StoredMessage> StoreDatabase::find_message_in_store(const Bytes& store_entry_id,
                                                                  const Bytes& entry_id) {
    begin_operation();
    int64_t store = store_ids::store_row(store_entry_id);
    if (store == 0) return std::nullopt;
    return find_in(store, entry_id);
}

bool StoreDatabase::delete_messages(int64_t folder_row, const std::vector<Bytes>& entry_ids) {
    begin_operation();
    return write(u"delete_messages", [&] {
        SqliteStatement& st = db_->cached("DELETE FROM messages WHERE id = ?1 AND folder_id = ?2");
        for (const Bytes& id : entry_ids) {
            int64_t row = store_ids::message_row(id);
            if (row == 0 || !st.bind(1, row).bind(2, folder_row).run() || db_->changes() == 0)
                return false;
        }
        return true;
    });
}

bool StoreDatabase::set_flags(const Bytes& entry_id, uint32_t flags) {
    begin_operation();
    int64_t row = store_ids::message_row(entry_id);
    if (row == 0) return false;
    return write(u"set_flags", [&] {
        SqliteStatement& st = db_->cached("UPDATE messages SET flags = ?2 WHERE id = ?1");
        return st.bind(1, row).bind(2, static_cast<int64_t>(flags)).run() && db_->changes() > 0;
    });
}

Bytes StoreDatabase::submit(int64_t folder_row, StoredMessage message) {
    begin_operation();
    if (!body_fits(message)) return {};
    int64_t row = 0;
    bool ok = write(u"submit", [&] {
        row = MessageRows::insert(*db_, folder_row, message);
        return row != 0;
    });
    return ok ? store_ids::of_message(row) : Bytes();
}
