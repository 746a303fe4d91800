#pragma once
// The device's message store: store.db in the device folder (SQLite, WAL). It
// holds the stores (the SMS store, whose display name contains "SMS", and at
// least one other), their folders, the messages and their recipients. Several
// processes use it at once; every change is one IMMEDIATE transaction, so no
// update is lost and no reader sees half a message.
//
// The store keeps the system's unread-SMS counter
// (HKEY_CURRENT_USER\System\State\Messages\SMS\Unread, "Count") equal to the
// number of unread messages in the SMS store's Inbox after every change.
//
// No operation throws. One that fails returns false, nothing or an empty id,
// writes one log line, and leaves the reason in last_error(): a store that
// failed (busy, read-only, full, damaged) is told from a message that is not
// there by store_failed().
//
// Not thread-safe: one connection, used by one thread.
//
// This class is the system's side (tools, transport, tests). The program talks
// to the store through the messaging interface of mapi::Session and friends.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/SqliteDatabase.h"
#include "platform/store/FolderContents.h"
#include "platform/store/LoopbackTransport.h"
#include "platform/store/RecipientSends.h"
#include "platform/store/StoreReadAhead.h"
#include "platform/store/StoreSchema.h"
#include "platform/store/StoredMessage.h"

class StoreDatabase {
public:
    using Bytes = std::vector<uint8_t>;

    // Opens <device_folder>/store.db, creating the folder, the file and the
    // default stores and folders when missing. Null with *error set (one line
    // naming the file) when the file cannot be opened or is not a message
    // store.
    static std::shared_ptr<StoreDatabase> open(const std::string& device_folder,
                                               std::string* error);

    // --- the system's side ---

    // Files a message; returns its new entry id, empty on failure. New
    // messages go to the end of their folder's contents table. A body longer
    // than kMaxBodyLength is refused.
    Bytes add_message(const StoredMessage& message);
    // Files many messages in one transaction (import, synthetic histories);
    // progress receives (done, total). All or nothing.
    bool add_messages(const std::vector<StoredMessage>& messages,
                      const std::function<void(size_t, size_t)>& progress = {});
    // Messages of one folder (or all four SMS folders) in contents-table
    // order. Nothing when the store could not be read to the end.
    std::optional<std::vector<StoredMessage>> list_messages(std::optional<StoreFolderKind> folder);
    std::optional<StoredMessage> find_message(const Bytes& entry_id);
    bool delete_message(const Bytes& entry_id);
    // False also when there is no such message.
    bool set_read(const Bytes& entry_id, bool read);
    // Makes the read flag of every message given equal to read, in one
    // transaction, so that the unread counter changes at most once. Messages
    // that no longer exist are passed over. False only when the store failed;
    // nothing has changed then.
    bool set_read_flags(const std::vector<Bytes>& entry_ids, bool read);

    using TransmitResult = LoopbackTransport::Result;
    // One run of the loopback transport (see LoopbackTransport); all or
    // nothing.
    std::optional<TransmitResult> transmit(const std::vector<std::u16string>& fail_numbers);

    // --- the side of a network that sends to one recipient at a time ---

    enum class Arrival {
        Filed,         // stored in the Inbox, unread
        AlreadyFiled,  // the Inbox holds it already (same sender, time and text)
        Failed,        // the store failed: nothing was stored
    };
    // Files a received message in the Inbox (its read flag as given: a message
    // arrives unread, a delivery report read), unless a message of the
    // same sender, delivery time, text and class is there already (the
    // network handed it over again after a stop between storing it and
    // taking it away). One transaction; the unread counter follows.
    Arrival file_received(const StoredMessage& message);

    struct OutboxEntry {
        StoredMessage message;
        std::vector<RecipientSend> sends;  // one per recipient, in order
    };
    // Outbox messages handed to the transport, and (with_failed) those it
    // failed before, in contents-table order, with what has been done for
    // each recipient. Nothing when the store could not be read.
    std::optional<std::vector<OutboxEntry>> outbox_to_send(bool with_failed);
    // Keeps what has been done for one recipient of an Outbox message. False
    // when the store failed or the message is gone.
    bool record_send(const Bytes& entry_id, size_t position, const RecipientSend& send);
    // Moves an Outbox message whose recipients have all been sent to to the
    // end of Sent Items, as the loopback network does, and forgets its
    // records. False when the store failed or the message is gone.
    bool move_to_sent(const Bytes& entry_id);
    // Leaves an Outbox message marked failed (the program shows it); it is
    // taken again by outbox_to_send(true). Its records are kept, so that
    // recipients already sent to are not sent to again.
    bool mark_failed(const Bytes& entry_id);

    // Unread messages in the SMS store's Inbox; nothing when the store could
    // not be read.
    std::optional<uint32_t> unread_count();

    // Why the last operation that failed did so, in one line for the user
    // that names the file ("/…/store.db is busy: …"); empty when it failed
    // for want of what it was asked for (a message that is not there).
    const std::string& last_error() const { return last_error_; }
    // Whether the last failed operation failed because of the store itself.
    bool store_failed() const { return !last_error_.empty(); }

    // --- what the messaging interface reads ---

    struct StoreRow {
        Bytes entry_id;
        std::u16string display_name;
    };
    // Every store; empty when the store.db could not be read (store_failed()).
    std::vector<StoreRow> stores();
    // Entry id of the folder a store property names (0x81060102 Inbox, ...);
    // empty when the store has no such property.
    Bytes store_folder_property(const Bytes& store_entry_id, uint32_t tag);
    // Row id of a folder of the given store, or 0 when there is none.
    int64_t folder_row(const Bytes& store_entry_id, const Bytes& folder_entry_id);
    // Rows in a folder's contents table, and a number that changes with every
    // change of that table.
    bool folder_count(int64_t folder_row, uint32_t& count, int64_t& version);
    // Entry ids of rows first..first+count-1 of a folder's contents table.
    bool folder_entry_ids(int64_t folder_row, uint32_t first, uint32_t count,
                          std::vector<Bytes>& out);
    // A message of a store by entry id.
    std::optional<StoredMessage> find_message_in_store(const Bytes& store_entry_id,
                                                       const Bytes& entry_id);
    // Deletes messages of one folder; false when any is missing.
    bool delete_messages(int64_t folder_row, const std::vector<Bytes>& entry_ids);
    bool set_flags(const Bytes& entry_id, uint32_t flags);
    // Files a message created through the messaging interface into the
    // folder; returns its entry id.
    Bytes submit(int64_t folder_row, StoredMessage message);

    SqliteDatabase& db() { return *db_; }

private:
    explicit StoreDatabase(std::unique_ptr<SqliteDatabase> db)
        : db_(std::move(db)), contents_(*db_), read_ahead_(*db_) {}

    // Every change of the store: change() runs inside one write transaction,
    // which is committed when it returns true, and the unread counter is
    // published afterwards. Nothing is changed when change() returns false
    // or the commit fails. what names the operation in the log.
    bool write(const char16_t* what, const std::function<bool()>& change);
    // Starts an operation with no failure noted.
    void begin_operation();
    // Notes the failure of an operation (the connection's failure, or refusal
    // when the store itself has none) and logs it; returns false.
    bool fail(const char16_t* what, const std::string& refusal = {});
    // A body the store refuses: false with the refusal noted.
    bool body_fits(const StoredMessage& message);
    int64_t sms_folder_row(StoreFolderKind kind) const;
    // A message by entry id, of one store or (store 0) of any.
    std::optional<StoredMessage> find_in(int64_t store, const Bytes& entry_id);
    void publish_unread_count();
    // Makes the tables of the transport's records, once per connection.
    bool prepare_transport_tables();

    std::unique_ptr<SqliteDatabase> db_;
    SmsFolderRows sms_folders_ = {};
    FolderContents contents_;
    StoreReadAhead read_ahead_;
    std::string last_error_;
    bool transport_tables_ = false;
};
