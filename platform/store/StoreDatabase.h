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
// Not thread-safe: one connection, used by one thread.
//
// This class is the system's side (tools, transport, tests). The program talks
// to the store through the messaging interface of mapi::Session and friends.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/SqliteDatabase.h"
#include "platform/store/StoredMessage.h"

class StoreDatabase {
public:
    using Bytes = std::vector<uint8_t>;

    // Opens <device_folder>/store.db, creating the folder, the file and the
    // default stores and folders when missing. Null with *error set when the
    // file cannot be opened or is not a message store.
    static std::shared_ptr<StoreDatabase> open(const std::string& device_folder,
                                               std::string* error);

    // --- the system's side ---

    // Files a message; returns its new entry id, empty on failure. New
    // messages go to the end of their folder's contents table.
    Bytes add_message(const StoredMessage& message);
    // Files many messages in one transaction (import, synthetic histories);
    // progress receives (done, total). All or nothing.
    bool add_messages(const std::vector<StoredMessage>& messages,
                      const std::function<void(size_t, size_t)>& progress = {});
    // Messages of one folder (or all four SMS folders) in contents-table order.
    std::vector<StoredMessage> list_messages(std::optional<StoreFolderKind> folder);
    std::optional<StoredMessage> find_message(const Bytes& entry_id);
    bool delete_message(const Bytes& entry_id);
    bool set_read(const Bytes& entry_id, bool read);

    struct TransmitResult {
        int sent = 0;
        int failed = 0;
        int reports = 0;
    };
    // The loopback transport: every submitted Outbox message is moved to Sent
    // Items (unsent flag cleared, delivery time now), and a delivery report is
    // filed in the Inbox when one was requested. A message to one of
    // fail_numbers stays in the Outbox, marked failed.
    std::optional<TransmitResult> transmit(const std::vector<std::u16string>& fail_numbers);

    // Unread messages in the SMS store's Inbox.
    uint32_t unread_count();

    // --- what the messaging interface reads ---

    struct StoreRow {
        Bytes entry_id;
        std::u16string display_name;
    };
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
    explicit StoreDatabase(std::unique_ptr<SqliteDatabase> db) : db_(std::move(db)) {}
    bool create_schema(std::string* error);
    int64_t sms_folder_row(StoreFolderKind kind);
    Bytes insert_locked(int64_t folder_row, const StoredMessage& message);
    StoredMessage read_row(SqliteStatement& st);
    // A message by entry id, of one store or (store 0) of any.
    std::optional<StoredMessage> find_in(int64_t store, const Bytes& entry_id);
    void load_recipients(int64_t message_row, StoredMessage& message);
    void publish_unread_count();

    // Where the next contents-table read of a folder probably starts: the row
    // after the last batch. Valid only while the folder's version is unchanged.
    struct Anchor {
        int64_t version = -1;
        uint32_t next_position = 0;
        int64_t last_seq = 0;
    };

    // Messages read ahead of the program's reads (see read_ahead()).
    static constexpr int64_t kReadAheadRows = 256;
    static constexpr std::chrono::milliseconds kReadAheadLife{50};
    struct ReadAhead {
        int64_t store = 0;
        std::chrono::steady_clock::time_point taken;
        std::unordered_map<int64_t, StoredMessage> rows;
    };
    std::optional<StoredMessage> read_ahead(int64_t store, int64_t row);

    std::unique_ptr<SqliteDatabase> db_;
    int64_t sms_folders_[6] = {};
    ReadAhead read_ahead_;
    std::unordered_map<int64_t, Anchor> anchors_;
};
