#pragma once
// Values of the messaging interface: result codes, property tags and property
// values, with the numbers the handset's messaging interface uses.
#include <cstdint>
#include <string>
#include <vector>

namespace mapi {

using HRESULT = int32_t;
using Bytes = std::vector<uint8_t>;

constexpr HRESULT S_OK = 0;
constexpr HRESULT MAPI_W_ERRORS_RETURNED = 0x00040380;
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057);
constexpr HRESULT MAPI_E_CALL_FAILED = static_cast<HRESULT>(0x80004005);
constexpr HRESULT MAPI_E_NOT_FOUND = static_cast<HRESULT>(0x8004010F);
constexpr HRESULT MAPI_E_INVALID_ENTRYID = static_cast<HRESULT>(0x80040107);
constexpr HRESULT MAPI_E_NOT_INITIALIZED = static_cast<HRESULT>(0x80040605);
constexpr HRESULT MAPI_E_NO_ACCESS = static_cast<HRESULT>(0x80070005);
constexpr HRESULT MAPI_E_LOGON_FAILED = static_cast<HRESULT>(0x80040111);
// The store itself failed: its file is busy, read-only, full or damaged.
constexpr HRESULT MAPI_E_DISK_ERROR = static_cast<HRESULT>(0x80040116);

inline bool failed(HRESULT hr) { return hr < 0; }

// Property types (low 16 bits of a tag).
constexpr uint32_t PT_LONG = 0x0003;
constexpr uint32_t PT_BOOLEAN = 0x000B;
constexpr uint32_t PT_ERROR = 0x000A;
constexpr uint32_t PT_UNICODE = 0x001F;
constexpr uint32_t PT_SYSTIME = 0x0040;
constexpr uint32_t PT_BINARY = 0x0102;

constexpr uint32_t prop_type(uint32_t tag) { return tag & 0xFFFF; }
constexpr uint32_t prop_id(uint32_t tag) { return tag >> 16; }
constexpr uint32_t change_type(uint32_t tag, uint32_t type) { return (tag & 0xFFFF0000) | type; }

constexpr uint32_t PR_ENTRYID = 0x0FFF0102;
constexpr uint32_t PR_DISPLAY_NAME_W = 0x3001001F;
constexpr uint32_t PR_CE_IPM_INBOX_ENTRYID = 0x81060102;
constexpr uint32_t PR_IPM_SENTMAIL_ENTRYID = 0x35E40102;
constexpr uint32_t PR_CE_IPM_DRAFTS_ENTRYID = 0x81040102;
constexpr uint32_t PR_IPM_OUTBOX_ENTRYID = 0x35E20102;
constexpr uint32_t PR_IPM_SUBTREE_ENTRYID = 0x35E00102;
constexpr uint32_t PR_IPM_WASTEBASKET_ENTRYID = 0x35E30102;
constexpr uint32_t PR_SENDER_NAME_W = 0x0C1A001F;
constexpr uint32_t PR_SENDER_EMAIL_ADDRESS_W = 0x0C1F001F;
constexpr uint32_t PR_EMAIL_ADDRESS_W = 0x3003001F;
constexpr uint32_t PR_ADDRTYPE_W = 0x3002001F;
constexpr uint32_t PR_RECIPIENT_TYPE = 0x0C150003;
constexpr uint32_t PR_SUBJECT_W = 0x0037001F;
constexpr uint32_t PR_MESSAGE_DELIVERY_TIME = 0x0E060040;
constexpr uint32_t PR_LAST_MODIFICATION_TIME = 0x30080040;
constexpr uint32_t PR_MESSAGE_FLAGS = 0x0E070003;
constexpr uint32_t PR_MESSAGE_CLASS_W = 0x001A001F;
constexpr uint32_t PR_MSG_STATUS = 0x0E170003;
constexpr uint32_t PR_PROOF_OF_DELIVERY_REQUESTED = 0x0C12000B;

constexpr uint32_t MAPI_UNICODE = 0x80000000;
constexpr uint32_t MAPI_MODIFY = 0x00000001;
constexpr uint32_t MAPI_CREATE = 0x00000002;
constexpr uint32_t MAPI_TO = 1;
constexpr uint32_t MODRECIP_ADD = 0x00000002;
constexpr uint32_t CLEAR_READ_FLAG = 0x00000004;
constexpr uint32_t MSGSTATUS_RECTYPE_SMS = 0x00040000;

// PS_MAPI {00020328-0000-0000-C000-000000000046}
struct Guid {
    uint8_t bytes[16];
    friend bool operator==(const Guid&, const Guid&) = default;
};
constexpr Guid PS_MAPI = {{0x28, 0x03, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x00, 0x00, 0x00,
                           0x00, 0x00, 0x00, 0x46}};

// One property value. Which member holds the value follows the tag's type:
// number (PT_LONG, PT_BOOLEAN, PT_SYSTIME, PT_ERROR holds the error code),
// text (PT_UNICODE), binary (PT_BINARY).
struct PropValue {
    uint32_t tag = 0;
    int64_t number = 0;
    std::u16string text;
    Bytes binary;

    static PropValue of_number(uint32_t tag, int64_t value) { return {tag, value, {}, {}}; }
    static PropValue of_text(uint32_t tag, std::u16string value) {
        return {tag, 0, std::move(value), {}};
    }
    static PropValue of_binary(uint32_t tag, Bytes value) { return {tag, 0, {}, std::move(value)}; }
    static PropValue error(uint32_t tag) {
        return {change_type(tag, PT_ERROR), MAPI_E_NOT_FOUND, {}, {}};
    }
};

using Row = std::vector<PropValue>;

}  // namespace mapi
