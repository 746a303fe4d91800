#pragma once
// One message as the program sees it. Only the id and the folder are known for
// a message until it is read from the store (read_sms); its texts and
// addresses live in details that exist only for messages read for display,
// so that a chat of thousands of messages not yet shown costs little more
// than their ids.
#include <cstdint>
#include <memory>
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

// What a message says and to whom: read from the store with the message, the
// date and time texts set by the chat model when it is shown.
struct SmsDetails {
    Recipient sender;                   // incoming messages only
    std::vector<Recipient> recipients;  // outgoing messages only
    std::u16string body;
    std::u16string date_text;
    std::u16string time_text;
};

struct SmsRecord {
    SmsRecord() = default;
    // Copies carry their own copy of the details.
    SmsRecord(const SmsRecord& other);
    SmsRecord& operator=(const SmsRecord& other);
    SmsRecord(SmsRecord&&) noexcept = default;
    SmsRecord& operator=(SmsRecord&&) noexcept = default;
    ~SmsRecord() = default;

    EntryId id;
    int64_t time = 0;  // FILETIME (100 ns since 1601), local time
    uint32_t flags = 0;
    ReportKind report = ReportKind::None;
    FolderIndex folder = kFolderInbox;  // set by whoever read the id

    bool incoming() const { return (flags & kMsgFlagFromMe) == 0; }
    bool outgoing() const { return !incoming(); }
    bool unread() const { return (flags & kMsgFlagRead) == 0; }
    bool is_report() const { return report != ReportKind::None; }

    // The details for writing, made empty on first use.
    SmsDetails& details();
    // Whether the record holds details (it has been read, or written to).
    bool has_details() const { return details_ != nullptr; }
    // Forgets the details and frees their memory.
    void drop_details() { details_.reset(); }

    // The details' fields; empty for a record without details.
    const Recipient& sender() const;
    const std::vector<Recipient>& recipients() const;
    const std::u16string& body() const;
    const std::u16string& date_text() const;
    const std::u16string& time_text() const;

    // The sender of an incoming message, the first recipient of an outgoing one
    // (an empty Recipient when there is none).
    const Recipient& correspondent() const;

    // Record order: by time, then by id. Records with equal ids are equal.
    friend bool operator<(const SmsRecord& a, const SmsRecord& b);

private:
    std::unique_ptr<SmsDetails> details_;
};
