#pragma once
// The program's access to the phone's message store: logs on, finds the SMS
// store (the one whose display name contains "SMS"), opens its folders and
// offers the few operations the chat model, sending and the forms use. Every
// operation reports failure by its result plus one fixed log line; none throws.
// Single-threaded: used on the user-interface thread only.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "messaging/Recipient.h"
#include "messaging/SmsRecord.h"
#include "platform/store/Folder.h"
#include "platform/store/MsgStore.h"
#include "platform/store/Session.h"

struct MapiSession {
    bool initialised = false;
    std::unique_ptr<mapi::Session> session;
    std::unique_ptr<mapi::MsgStore> store;
};

struct StoreFolder {
    std::unique_ptr<mapi::Folder> folder;
    std::vector<mapi::Bytes> rows;  // entry ids of the last batch read (at most 1000)
    int32_t first_row = 0;          // table position of rows[0]
    bool has_batch = false;
    int64_t change_number = -1;  // contents-table state the batch was read in
};

class sms_manager {
public:
    // Opens the session, the SMS store and the five folders (Inbox, Sent Items,
    // Drafts, Outbox, the root of the message folders). A folder that cannot be
    // opened stays empty; the others are still usable.
    sms_manager();
    ~sms_manager();
    sms_manager(const sms_manager&) = delete;
    sms_manager& operator=(const sms_manager&) = delete;

    // Whether the SMS store was found.
    bool has_store() const { return session_.store != nullptr; }
    // Whether the folder (FolderIndex 0..3) was opened. A folder that was not
    // reads as empty, with no store error, for as long as this manager lives.
    bool has_folder(int32_t folder) const;

    // Rows in a folder's contents table (FolderIndex 0..3); 0 on any failure.
    uint32_t get_length(int32_t folder);
    // Entry id of row n of a folder's contents table; empty on failure. Rows are
    // read 1000 at a time and kept, so walking a folder seldom reopens it.
    EntryId get_id(int32_t folder, int32_t n);
    // Entry ids of every row of a folder's contents table, in row order, all
    // from one state of the store: a row that another program deletes or
    // adds meanwhile cannot shift the batches read after it. False when the
    // folder is not open, the store failed or a row could not be read; ids
    // then holds the rows read before the failure.
    bool get_all_ids(int32_t folder, std::vector<EntryId>& ids);
    // record.id must be set; fills the other fields from the store.
    bool read_sms(SmsRecord& record);
    // Makes the message's read flag equal to read.
    bool set_sms_read(const SmsRecord& record, bool read);
    // Makes the read flag of every message of records equal to read, in one
    // change of the store, so that the unread counter (and the notification
    // watching it) changes once. Messages that are gone are passed over.
    bool set_sms_read(const std::vector<SmsRecord>& records, bool read);
    // Deletes the message from the folder record.folder.
    bool delete_sms(const SmsRecord& record);
    // Places a new message for the recipients in the Outbox and submits it.
    bool send_sms(const std::vector<Recipient>& recipients, const std::u16string& body);

    // Calls that failed because the store itself failed (a damaged, busy or
    // unwritable store.db) rather than for want of a message, by every
    // sms_manager of the process. The count only grows: the chat model
    // replaces its manager after a failed read, so whoever wants to know
    // whether a run of the model read the whole store compares the count
    // before and after it.
    static uint64_t store_errors();

private:
    void open_store();
    void open_folder(StoreFolder& folder, uint32_t tag);
    StoreFolder* folder_at(int32_t folder);
    bool get_flags(mapi::Message& message, uint32_t& flags);
    bool get_text_tag(mapi::Message& message, uint32_t tag, std::u16string& out);
    bool get_time_tag(mapi::Message& message, uint32_t tag, int64_t& out);
    std::unique_ptr<mapi::Message> open_message(const EntryId& id, uint32_t flags);
    // Counts a result that tells of a failed store; returns hr.
    static mapi::HRESULT checked(mapi::HRESULT hr);

    MapiSession session_;
    StoreFolder folders_[5];  // Inbox, Sent Items, Drafts, Outbox, root
};
