#pragma once
// One message as the program sees it. Only the id and the folder are known for
// a message until it is read from the store (read_sms); the display texts are
// set by the chat model when a message is first shown.
#include <cstdint>
#include <string>
#include <vector>

#include "messaging/EntryId.h"
#include "messaging/Recipient.h"
#include "platform/store/MessageFlags.h"

// The folders the program reads, by the number stored with each message.
enum FolderIndex : int32_t {
    kFolderInbox = 0,
    kFolderSent = 1,
    kFolderDrafts = 2,
    kFolderOutbox = 3,
};
constexpr int kFolderCount = 4;

enum class ReportKind : int32_t {
    None = 0,
    Delivered = 1,     // "REPORT.IPM.SMStext.DR"
    NotDelivered = 2,  // "REPORT.IPM.SMStext.NDR"
};

struct SmsRecord {
    EntryId id;
    Recipient sender;                   // incoming messages only
    std::vector<Recipient> recipients;  // outgoing messages only
    std::u16string body;
    int64_t time = 0;  // FILETIME (100 ns since 1601), local time
    uint32_t flags = 0;
    ReportKind report = ReportKind::None;
    FolderIndex folder = kFolderInbox;  // set by whoever read the id
    std::u16string date_text;
    std::u16string time_text;

    bool incoming() const { return (flags & kMsgFlagFromMe) == 0; }
    bool outgoing() const { return !incoming(); }
    bool unread() const { return (flags & kMsgFlagRead) == 0; }
    bool is_report() const { return report != ReportKind::None; }
    // The sender of an incoming message, the first recipient of an outgoing one
    // (an empty Recipient when there is none).
    const Recipient& correspondent() const;

    // Record order: by time, then by id. Records with equal ids are equal.
    friend bool operator<(const SmsRecord& a, const SmsRecord& b);
};
