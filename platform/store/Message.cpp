#include "platform/store/Message.h"

#include "platform/LocalTime.h"
#include "platform/store/MessageFlags.h"
#include "platform/store/RowsTable.h"
#include "platform/store/StoreHresult.h"

namespace mapi {
namespace {
// The id the store hands out for the named property "SMS:Unicode" of PS_MAPI.
constexpr uint32_t kUnicodePropertyId = 0x8001;
}  // namespace

Message::Message(std::shared_ptr<StoreDatabase> db, StoredMessage message, bool modify)
    : db_(std::move(db)), message_(std::move(message)), modify_(modify) {}

Message::Message(std::shared_ptr<StoreDatabase> db, int64_t folder_row)
    : db_(std::move(db)), new_in_folder_(folder_row), modify_(true) {
    message_.message_class = u"IPM.SMStext";
}

HRESULT Message::get_props(const std::vector<uint32_t>& tags, uint32_t,
                           std::vector<PropValue>& out) {
    out.clear();
    bool missing = false;
    const bool incoming = (message_.flags & kMsgFlagFromMe) == 0;
    for (uint32_t tag : tags) {
        switch (tag) {
            case PR_ENTRYID:
                if (message_.entry_id.empty()) break;
                out.push_back(PropValue::of_binary(tag, message_.entry_id));
                continue;
            case PR_MESSAGE_FLAGS:
                out.push_back(PropValue::of_number(tag, message_.flags));
                continue;
            case PR_SUBJECT_W:
                out.push_back(PropValue::of_text(tag, message_.body));
                continue;
            case PR_MESSAGE_DELIVERY_TIME:
                if (!message_.delivery_time) break;
                out.push_back(PropValue::of_number(tag, *message_.delivery_time));
                continue;
            case PR_LAST_MODIFICATION_TIME:
                if (!message_.modification_time) break;
                out.push_back(PropValue::of_number(tag, *message_.modification_time));
                continue;
            case PR_SENDER_NAME_W:
                if (!incoming) break;
                out.push_back(PropValue::of_text(tag, message_.sender_name));
                continue;
            case PR_SENDER_EMAIL_ADDRESS_W:
                if (!incoming) break;
                out.push_back(PropValue::of_text(tag, message_.sender_number));
                continue;
            case PR_MESSAGE_CLASS_W:
                out.push_back(PropValue::of_text(tag, message_.message_class));
                continue;
            case PR_MSG_STATUS:
                out.push_back(PropValue::of_number(tag, message_.msg_status));
                continue;
            case PR_PROOF_OF_DELIVERY_REQUESTED:
                out.push_back(PropValue::of_number(tag, message_.delivery_report_requested));
                continue;
            default:
                break;
        }
        out.push_back(PropValue::error(tag));
        missing = true;
    }
    return missing ? MAPI_W_ERRORS_RETURNED : S_OK;
}

HRESULT Message::set_props(const std::vector<PropValue>& values) {
    if (new_in_folder_ == 0) {
        // An existing message: only its flags change, and at once.
        for (const PropValue& v : values) {
            if (v.tag != PR_MESSAGE_FLAGS) return MAPI_E_NO_ACCESS;
            uint32_t flags = static_cast<uint32_t>(v.number);
            if (!db_->set_flags(message_.entry_id, flags))
                return failure_code(*db_, MAPI_E_NOT_FOUND);
            message_.flags = flags;
        }
        return S_OK;
    }
    if (submitted_) return MAPI_E_NO_ACCESS;
    for (const PropValue& v : values) {
        switch (v.tag) {
            case PR_SUBJECT_W:
                message_.body = v.text;
                break;
            case PR_MSG_STATUS:
                message_.msg_status = static_cast<uint32_t>(v.number);
                break;
            case PR_MESSAGE_FLAGS:
                message_.flags = static_cast<uint32_t>(v.number);
                break;
            case PR_PROOF_OF_DELIVERY_REQUESTED:
                message_.delivery_report_requested = v.number != 0;
                break;
            case PR_MESSAGE_CLASS_W:
                message_.message_class = v.text;
                break;
            case PR_MESSAGE_DELIVERY_TIME:
                message_.delivery_time = v.number;
                break;
            default:
                break;  // other properties (the Unicode marker) are accepted and not kept
        }
    }
    return S_OK;
}

HRESULT Message::get_recipient_table(uint32_t, std::unique_ptr<Table>& out) {
    std::vector<Row> rows;
    for (const StoredRecipient& r : message_.recipients)
        rows.push_back({PropValue::of_number(PR_RECIPIENT_TYPE, MAPI_TO),
                        PropValue::of_text(PR_ADDRTYPE_W, u"SMS"),
                        PropValue::of_text(PR_DISPLAY_NAME_W, r.name),
                        PropValue::of_text(PR_EMAIL_ADDRESS_W, r.number)});
    out = std::make_unique<RowsTable>(std::move(rows));
    return S_OK;
}

HRESULT Message::modify_recipients(uint32_t flags, const std::vector<Row>& rows) {
    if (new_in_folder_ == 0 || submitted_) return MAPI_E_NO_ACCESS;
    if (flags != MODRECIP_ADD) return E_INVALIDARG;
    for (const Row& row : rows) {
        StoredRecipient r;
        for (const PropValue& v : row) {
            if (v.tag == PR_DISPLAY_NAME_W) r.name = v.text;
            if (v.tag == PR_EMAIL_ADDRESS_W) r.number = v.text;
        }
        message_.recipients.push_back(std::move(r));
    }
    return S_OK;
}

HRESULT Message::get_id_from_name(const Guid& set, std::u16string_view name, uint32_t,
                                  uint32_t& id) {
    if (set == PS_MAPI && name == u"SMS:Unicode") {
        id = kUnicodePropertyId;
        return S_OK;
    }
    return MAPI_E_NOT_FOUND;
}

HRESULT Message::submit(uint32_t) {
    if (new_in_folder_ == 0 || submitted_) return MAPI_E_NO_ACCESS;
    int64_t now = local_time::now_utc();
    message_.modification_time = now;
    message_.submitted = true;
    StoreDatabase::Bytes id = db_->submit(new_in_folder_, message_);
    if (id.empty()) return failure_code(*db_, MAPI_E_CALL_FAILED);
    message_.entry_id = std::move(id);
    submitted_ = true;
    return S_OK;
}

}  // namespace mapi
