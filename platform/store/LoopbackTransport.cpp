#include "platform/store/LoopbackTransport.h"

#include "platform/LocalTime.h"
#include "platform/store/MessageFlags.h"
#include "platform/store/MessageRows.h"
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
    auto st = db_.prepare(std::string("SELECT ") + MessageRows::kColumns +
                          " FROM messages m JOIN folders f ON f.id = m.folder_id "
                          "WHERE m.folder_id = ?1 AND m.submitted = 1 AND m.failed = 0 "
                          "ORDER BY m.seq");
    st.bind(1, folders_[folder_index(StoreFolderKind::Outbox)]);
    if (!st.each_row([&] { waiting.push_back(MessageRows::read(st)); })) return false;

    int64_t now = local_time::now_utc();
    auto mark_failed = db_.prepare(
        "UPDATE messages SET failed = 1, submitted = 0, modification_time = ?2 WHERE id = ?1");
    auto move_to_sent = db_.prepare(
        "UPDATE messages SET folder_id = ?2, seq = ?3, flags = flags & ~?5, submitted = 0, "
        "delivery_time = ?4, modification_time = ?4 WHERE id = ?1");
    for (StoredMessage& m : waiting) {
        int64_t row = store_ids::message_row(m.entry_id);
        if (!MessageRows::load_recipients(db_, row, m)) return false;
        bool failed = false;
        for (const StoredRecipient& r : m.recipients) failed |= fails(r.number);
        if (failed) {
            if (!mark_failed.bind(1, row).bind(2, now).run()) return false;
            ++result.failed;
            continue;
        }
        int64_t seq = MessageRows::next_seq(db_);
        if (seq == 0) return false;
        move_to_sent.bind(1, row)
            .bind(2, folders_[folder_index(StoreFolderKind::SentItems)])
            .bind(3, seq)
            .bind(4, now)
            .bind(5, static_cast<int64_t>(kMsgFlagUnsent));
        if (!move_to_sent.run()) return false;
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
