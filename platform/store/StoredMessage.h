#pragma once
// A message as the device's message store holds it (the system's view, used by
// the device tools, the transport and the tests). Times are UTC FILETIMEs.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The longest message text the store files, in UTF-16 code units. A
// concatenated SMS has at most 255 parts of at most 153 characters (the GSM
// 03.38 seven-bit alphabet): 39,015 characters. A longer text is no SMS, and
// one of megabytes would slow down every reader of the store.
constexpr size_t kMaxBodyLength = 40000;

struct StoredRecipient {
    std::u16string name;
    std::u16string number;
    friend bool operator==(const StoredRecipient&, const StoredRecipient&) = default;
};

// Folders of the SMS store as the system numbers them (the program's FolderIndex
// for the first four).
enum class StoreFolderKind : int {
    Inbox = 0,
    SentItems = 1,
    Drafts = 2,
    Outbox = 3,
    Root = 4,
    DeletedItems = 5,
};

struct StoredMessage {
    std::vector<uint8_t> entry_id;  // set by the store
    StoreFolderKind folder = StoreFolderKind::Inbox;
    uint32_t flags = 0;
    std::optional<int64_t> delivery_time;      // PR_MESSAGE_DELIVERY_TIME
    std::optional<int64_t> modification_time;  // PR_LAST_MODIFICATION_TIME
    std::u16string body;                       // the SMS text (the subject)
    std::u16string sender_name;
    std::u16string sender_number;
    std::vector<StoredRecipient> recipients;
    std::u16string message_class = u"IPM.SMStext";
    uint32_t msg_status = 0;
    bool delivery_report_requested = false;
    bool submitted = false;  // handed to the transport, waiting in the Outbox
    bool failed = false;     // the transport gave up on it
    std::u16string smsc;     // the service centre a received message came through, if known
};
