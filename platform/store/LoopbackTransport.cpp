#include "platform/store/LoopbackTransport.h"

#include "platform/LocalTime.h"
#include "platform/store/MessageFlags.h"
#include "platform/store/MessageRows.h"
#include "platform/store/OutboxRows.h"
#include "platform/store/StoreIds.h"

namespace {

std::u16string digits(const std::u16string& number) {
    std::u16string d;
    for (char16_t c : number)
        if (c >= u'0' && c <= u'9') d.push_back(c);
    return d;
}

size_t folder_index(StoreFolderKind kind) { return static_cast<size_t>(kind); }

}  // namespace

bool LoopbackTransport::fails(const std::u16string& number) const {
    for (const std::u16string& f : fail_numbers_)
        if (f == number || (!digits(f).empty() && digits(f) == digits(number))) return true;
    return false;
}

bool LoopbackTransport::run(Result& result) {
    std::vector<StoredMessage> waiting;
    if (!OutboxRows::waiting(db_, folders_[folder_index(StoreFolderKind::Outbox)],
                             OutboxRows::Waiting::Submitted, waiting))
        return false;

    int64_t now = local_time::now_utc();
    for (const StoredMessage& m : waiting) {
        int64_t row = store_ids::message_row(m.entry_id);
        bool failed = false;
        for (const StoredRecipient& r : m.recipients) failed |= fails(r.number);
        if (failed) {
            if (!OutboxRows::mark_failed(db_, row, now)) return false;
            ++result.failed;
            continue;
        }
        if (!OutboxRows::move_to_sent(db_, folders_[folder_index(StoreFolderKind::SentItems)], row,
                                      now))
            return false;
        ++result.sent;
        if (!m.delivery_report_requested) continue;
        for (const StoredRecipient& r : m.recipients) {
            StoredMessage report;
            report.folder = StoreFolderKind::Inbox;
            report.flags = kMsgFlagRead;
            report.delivery_time = now;
            report.modification_time = now;
            report.sender_number = r.number;
            report.message_class = u"REPORT.IPM.SMStext.DR";
            report.body = u"Message to " + r.number + u" delivered";
            if (MessageRows::insert(db_, folders_[folder_index(StoreFolderKind::Inbox)], report) ==
                0)
                return false;
            ++result.reports;
        }
    }
    return true;
}
