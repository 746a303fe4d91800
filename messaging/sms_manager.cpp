#include "messaging/sms_manager.h"

#include "messaging/DeliveryNotify.h"
#include "platform/LocalTime.h"
#include "platform/Log.h"
#include "platform/store/Message.h"
#include "platform/store/StoreSnapshot.h"
#include "platform/store/Table.h"

using namespace mapi;

namespace {

constexpr uint32_t kFolderTags[5] = {
    PR_CE_IPM_INBOX_ENTRYID, PR_IPM_SENTMAIL_ENTRYID, PR_CE_IPM_DRAFTS_ENTRYID,
    PR_IPM_OUTBOX_ENTRYID,   PR_IPM_SUBTREE_ENTRYID,
};

constexpr int32_t kBatchRows = 1000;

uint64_t g_store_errors = 0;

// One property of a message by tag; null when the message lacks it.
const PropValue* find_prop(const std::vector<PropValue>& values, uint32_t tag) {
    for (const PropValue& v : values)
        if (v.tag == tag) return &v;
    return nullptr;
}

}  // namespace

uint64_t sms_manager::store_errors() { return g_store_errors; }

HRESULT sms_manager::checked(HRESULT hr) {
    if (hr == MAPI_E_DISK_ERROR) ++g_store_errors;
    return hr;
}

sms_manager::sms_manager() {
    open_store();
    for (int i = 0; i < 5; ++i) open_folder(folders_[i], kFolderTags[i]);
}

sms_manager::~sms_manager() {
    for (int i = 4; i >= 0; --i) {
        folders_[i].folder.reset();
        folders_[i].rows.clear();
    }
    session_.store.reset();
    if (session_.session) session_.session->logoff();
    session_.session.reset();
    if (session_.initialised) uninitialize();
}

void sms_manager::open_store() {
    session_.initialised = !failed(initialize());
    if (!session_.initialised) log() << u"MAPIInitialize failed\n";
    if (failed(Session::logon(session_.session))) {
        log() << u"MAPILogonEx failed";
        session_.session.reset();
    }
    if (!session_.initialised || !session_.session) {
        log() << u"SMS store not found\n";
        return;
    }
    std::unique_ptr<Table> stores;
    if (failed(checked(session_.session->get_msg_stores_table(stores)))) {
        log() << u"GetMsgStoresTable failed\n";
        return;
    }
    for (;;) {
        std::vector<Row> rows;
        if (failed(stores->query_rows(1, rows)) || rows.empty()) break;
        const Row& row = rows.front();
        if (row.empty() || row.front().tag != PR_ENTRYID) {
            log() << u"QueryRows failed\n";
            continue;
        }
        std::unique_ptr<MsgStore> store;
        if (failed(checked(session_.session->open_msg_store(row.front().binary, store)))) {
            log() << u"OpenMsgStore failed\n";
            continue;
        }
        std::vector<PropValue> name;
        checked(store->get_props({PR_DISPLAY_NAME_W}, MAPI_UNICODE, name));
        if (name.empty() || name.front().tag != PR_DISPLAY_NAME_W) {
            log() << u"Unable to get DISPLAY_NAME\n";
            continue;
        }
        if (name.front().text.find(u"SMS") != std::u16string::npos) {
            session_.store = std::move(store);
            return;
        }
    }
    log() << u"SMS store not found\n";
}

void sms_manager::open_folder(StoreFolder& folder, uint32_t tag) {
    if (!session_.store) return;
    std::vector<PropValue> values;
    HRESULT hr = checked(session_.store->get_props({tag}, MAPI_UNICODE, values));
    if (failed(hr) || values.empty() || values.front().tag != tag) {
        log() << u"Unable to GetProps\n";
        return;
    }
    folder.folder.reset();
    folder.rows.clear();
    folder.has_batch = false;
    if (failed(checked(
            session_.store->open_folder(values.front().binary, MAPI_MODIFY, folder.folder)))) {
        log() << u"Unable to OpenEntry\n";
        folder.folder.reset();
    }
}

StoreFolder* sms_manager::folder_at(int32_t folder) {
    if (folder < 0 || folder >= kFolderCount) return nullptr;
    StoreFolder& f = folders_[folder];
    return f.folder ? &f : nullptr;
}

bool sms_manager::has_folder(int32_t folder) const {
    return folder >= 0 && folder < kFolderCount && folders_[folder].folder != nullptr;
}

uint32_t sms_manager::get_length(int32_t folder) {
    StoreFolder* f = folder_at(folder);
    if (f == nullptr) return 0;
    std::unique_ptr<Table> table;
    if (failed(f->folder->get_contents_table(0, table))) {
        log() << u"GetContentsTable in get_length failed\n";
        return 0;
    }
    uint32_t count = 0;
    if (failed(checked(table->get_row_count(count)))) {
        log() << u"GetRowCount failed\n";
        return 0;
    }
    // The kept batch describes the table as it was when read. When the folder
    // has changed since (a message deleted or moved by another program), its
    // positions may be stale and would hide new rows: drop it.
    if (f->has_batch && f->change_number != table->change_number()) {
        f->rows.clear();
        f->has_batch = false;
    }
    return count;
}

EntryId sms_manager::get_id(int32_t folder, int32_t n) {
    StoreFolder* f = folder_at(folder);
    if (f == nullptr || n < 0) return {};
    if (f->has_batch && n >= f->first_row &&
        n < f->first_row + static_cast<int32_t>(f->rows.size())) {
        const Bytes& id = f->rows[static_cast<size_t>(n - f->first_row)];
        return EntryId(id.data(), static_cast<uint32_t>(id.size()));
    }
    std::unique_ptr<Table> table;
    if (failed(f->folder->get_contents_table(0, table))) {
        log() << u"GetContentsTable in get_id failed\n";
        return {};
    }
    if (failed(checked(table->seek_row(n)))) {
        log() << u"SeekRow failed\n";
        return {};
    }
    f->first_row = n;
    f->rows.clear();
    f->has_batch = false;
    std::vector<Row> rows;
    if (failed(checked(table->query_rows(kBatchRows, rows))) || rows.empty()) {
        log() << u"QueryRows failed\n";
        return {};
    }
    // The first column is taken as the entry id, as the contents table's
    // default columns put it there.
    f->rows.reserve(rows.size());
    for (Row& row : rows) f->rows.push_back(row.empty() ? Bytes() : std::move(row.front().binary));
    f->has_batch = true;
    f->change_number = table->change_number();
    const Bytes& id = f->rows.front();
    return EntryId(id.data(), static_cast<uint32_t>(id.size()));
}

bool sms_manager::get_all_ids(int32_t folder, std::vector<EntryId>& ids) {
    ids.clear();
    StoreFolder* f = folder_at(folder);
    if (f == nullptr) return false;
    uint64_t errors = g_store_errors;
    uint32_t n = get_length(folder);
    // The count drops kept rows of another state; rows kept of this one that
    // cover the folder (a small folder read before and unchanged since, as
    // the Outbox at nearly every poll) need no read, nor does an empty
    // folder. Any other walk reads the count again, and the rows, in one
    // state of the store.
    bool kept = f->has_batch && f->first_row == 0 && f->rows.size() == n;
    StoreSnapshot snapshot;
    if (!kept && n > 0) {
        snapshot = session_.store->read_snapshot();
        n = get_length(folder);
    }
    ids.reserve(n);
    for (uint32_t row = 0; row < n; ++row) {
        EntryId id = get_id(folder, static_cast<int32_t>(row));
        // The rows after a failed one would only add failures (and log lines).
        if (id.empty()) return false;
        ids.push_back(std::move(id));
    }
    return g_store_errors == errors && (kept || n == 0 || snapshot.held());
}

std::unique_ptr<Message> sms_manager::open_message(const EntryId& id, uint32_t flags) {
    std::unique_ptr<Message> message;
    if (!session_.store || id.empty() ||
        failed(checked(session_.store->open_message(id.bytes(), flags, message)))) {
        log() << u"Unable to open the message\n";
        return nullptr;
    }
    return message;
}

bool sms_manager::get_text_tag(Message& message, uint32_t tag, std::u16string& out) {
    std::vector<PropValue> values;
    HRESULT hr = message.get_props({tag}, MAPI_UNICODE, values);
    if (hr != S_OK || values.empty() || values.front().tag != tag) {
        log() << u"error in get_text_tag " << static_cast<long long>(tag) << u"\n";
        return false;
    }
    // Taken over rather than copied: a message text may be long.
    out = std::move(values.front().text);
    std::erase(out, u'\r');
    return true;
}

bool sms_manager::get_time_tag(Message& message, uint32_t tag, int64_t& out) {
    std::vector<PropValue> values;
    HRESULT hr = message.get_props({tag}, MAPI_UNICODE, values);
    if (hr != S_OK || values.empty() || values.front().tag != tag) {
        log() << u"error in get_time_tag " << static_cast<long long>(tag) << u"\n";
        return false;
    }
    // Converted with the time-zone rules in force at the message's own date, so
    // that a message from winter shows winter time in summer.
    out = local_time::utc_to_local(values.front().number);
    return true;
}

bool sms_manager::get_flags(Message& message, uint32_t& flags) {
    std::vector<PropValue> values;
    HRESULT hr = message.get_props({PR_MESSAGE_FLAGS}, MAPI_UNICODE, values);
    if (hr != S_OK || values.empty() || values.front().tag != PR_MESSAGE_FLAGS) {
        log() << u"error PR_MESSAGE_FLAGS, code" << static_cast<long long>(hr) << u"\n";
        return false;
    }
    flags = static_cast<uint32_t>(values.front().number);
    return true;
}

bool sms_manager::read_sms(SmsRecord& record) {
    std::unique_ptr<Message> message = open_message(record.id, 0);
    if (!message) {
        log() << u"No message in read_sms\n";
        return false;
    }
    if (!get_flags(*message, record.flags)) return false;
    SmsDetails& details = record.details();
    if (!get_text_tag(*message, PR_SUBJECT_W, details.body)) return false;
    if (!get_time_tag(*message, PR_MESSAGE_DELIVERY_TIME, record.time) &&
        !get_time_tag(*message, PR_LAST_MODIFICATION_TIME, record.time))
        return false;
    if (record.incoming()) {
        if (!get_text_tag(*message, PR_SENDER_NAME_W, details.sender.name) ||
            !get_text_tag(*message, PR_SENDER_EMAIL_ADDRESS_W, details.sender.number))
            return false;
    } else {
        std::unique_ptr<Table> table;
        if (failed(message->get_recipient_table(0, table))) {
            log() << u"Unable to GetRecipientTable\n";
            return false;
        }
        details.recipients.clear();
        for (;;) {
            std::vector<Row> rows;
            if (failed(table->query_rows(1, rows)) || rows.empty()) break;
            Recipient r;
            if (const PropValue* v = find_prop(rows.front(), PR_DISPLAY_NAME_W)) r.name = v->text;
            if (const PropValue* v = find_prop(rows.front(), PR_EMAIL_ADDRESS_W))
                r.number = v->text;
            if (r.empty()) break;
            details.recipients.push_back(std::move(r));
        }
    }
    std::vector<PropValue> cls;
    if (message->get_props({PR_MESSAGE_CLASS_W}, MAPI_UNICODE, cls) == S_OK && !cls.empty() &&
        cls.front().tag == PR_MESSAGE_CLASS_W) {
        if (cls.front().text == u"REPORT.IPM.SMStext.DR")
            record.report = ReportKind::Delivered;
        else if (cls.front().text == u"REPORT.IPM.SMStext.NDR")
            record.report = ReportKind::NotDelivered;
    }
    return true;
}

bool sms_manager::set_sms_read(const SmsRecord& record, bool read) {
    std::unique_ptr<Message> message = open_message(record.id, 0);
    if (!message) {
        log() << u"No message in set_sms_read\n";
        return false;
    }
    uint32_t flags = 0;
    if (!get_flags(*message, flags)) return false;
    if (((flags & kMsgFlagRead) != 0) == read) return true;
    HRESULT hr =
        checked(message->set_props({PropValue::of_number(PR_MESSAGE_FLAGS, flags ^ kMsgFlagRead)}));
    if (hr != S_OK) {
        log() << u"Unable to set read, code:" << static_cast<long long>(hr) << u"\n";
        return false;
    }
    return true;
}

bool sms_manager::set_sms_read(const std::vector<SmsRecord>& records, bool read) {
    if (!session_.store) {
        log() << u"No message in set_sms_read\n";
        return false;
    }
    std::vector<Bytes> ids;
    ids.reserve(records.size());
    for (const SmsRecord& record : records)
        if (!record.id.empty()) ids.push_back(record.id.bytes());
    HRESULT hr = checked(session_.store->set_read_flags(ids, read ? 0 : CLEAR_READ_FLAG));
    if (hr != S_OK) {
        log() << u"Unable to set read, code:" << static_cast<long long>(hr) << u"\n";
        return false;
    }
    return true;
}

bool sms_manager::delete_sms(const SmsRecord& record) {
    StoreFolder* f = folder_at(record.folder);
    if (f == nullptr || record.id.empty() ||
        failed(checked(f->folder->delete_messages({record.id.bytes()}, 0)))) {
        log() << u"DeleteMessages failed\n";
        return false;
    }
    // Rows behind the deleted one moved up: the kept batch is stale.
    f->rows.clear();
    f->has_batch = false;
    return true;
}

bool sms_manager::send_sms(const std::vector<Recipient>& recipients, const std::u16string& body) {
    StoreFolder* outbox = folder_at(kFolderOutbox);
    std::unique_ptr<Message> message;
    if (outbox == nullptr || failed(outbox->folder->create_message(0, message))) {
        log() << u"CreateMessage failed\n";
        return false;
    }
    // Every message is marked as Unicode, whatever characters it holds.
    uint32_t unicode_id = 0;
    if (!failed(message->get_id_from_name(PS_MAPI, u"SMS:Unicode", MAPI_CREATE, unicode_id)))
        message->set_props({PropValue::of_number(unicode_id << 16 | PT_BOOLEAN, 1)});

    std::vector<Row> list;
    list.reserve(recipients.size());
    for (const Recipient& r : recipients)
        list.push_back({PropValue::of_number(PR_RECIPIENT_TYPE, MAPI_TO),
                        PropValue::of_text(PR_ADDRTYPE_W, u"SMS"),
                        PropValue::of_text(PR_DISPLAY_NAME_W, r.name),
                        PropValue::of_text(PR_EMAIL_ADDRESS_W, r.number)});
    if (failed(message->modify_recipients(MODRECIP_ADD, list))) {
        log() << u"ModifyRecipients failed\n";
        return false;
    }
    DeliveryNotify notify = DeliveryNotify::read();
    HRESULT hr =
        message->set_props({PropValue::of_text(PR_SUBJECT_W, body),
                            PropValue::of_number(PR_MSG_STATUS, MSGSTATUS_RECTYPE_SMS),
                            PropValue::of_number(PR_MESSAGE_FLAGS, kMsgFlagUnsent | kMsgFlagFromMe),
                            PropValue::of_number(PR_PROOF_OF_DELIVERY_REQUESTED, notify.wanted())});
    log() << u"delivery_notification:" << static_cast<long long>(notify.value) << u"\n";
    if (failed(hr)) {
        log() << u"SetProps failed\n";
        return false;
    }
    if (failed(checked(message->submit(0)))) {
        log() << u"SubmitMessage failed\n";
        return false;
    }
    return true;
}
