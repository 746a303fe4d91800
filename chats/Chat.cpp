#include "chats/Chat.h"

#include <algorithm>

void Chat::append(SmsRecord record) {
    if (record.folder == kFolderOutbox) ++outbox_count_;
    messages_.push_back(std::move(record));
}

void Chat::erase(size_t index) {
    if (messages_[index].folder == kFolderOutbox) --outbox_count_;
    messages_.erase(messages_.begin() + static_cast<std::ptrdiff_t>(index));
}

void Chat::reserve_more(size_t more) {
    size_t needed = messages_.size() + more;
    if (needed <= messages_.capacity()) return;
    size_t grown = messages_.empty() ? needed : messages_.size() + messages_.size() / 8 + 4;
    messages_.reserve(std::max(needed, grown));
}

const SmsRecord& Chat::last_message() const {
    static const SmsRecord kNone;
    return messages_.empty() ? kNone : messages_.back();
}

bool chat_before(const Chat& a, const Chat& b) {
    if (a.key == b.key) return false;
    const SmsRecord& la = a.last_message();
    const SmsRecord& lb = b.last_message();
    if (la.time != lb.time) return la.time > lb.time;
    if (int c = EntryId::compare(la.id, lb.id); c != 0) return c > 0;
    return a.key > b.key;
}
