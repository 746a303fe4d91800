#pragma once
// One conversation: the messages exchanged with one correspondent, in the
// order they were filed (ascending time as loading and updating file them).
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "chats/ChatKey.h"
#include "messaging/SmsRecord.h"

class Chat {
public:
    Chat() = default;
    explicit Chat(ChatIdentity who)
        : name(std::move(who.name)), number(std::move(who.number)), key(std::move(who.key)) {}

    // The messages, oldest first. A record may hold only its id and folder
    // (as the cache and every update leave it); the model's load_sms fills in
    // the rest in place. The id and folder of a record never change.
    const std::vector<SmsRecord>& messages() const { return messages_; }
    SmsRecord& message(size_t index) { return messages_[index]; }
    size_t size() const { return messages_.size(); }
    bool empty() const { return messages_.empty(); }

    void append(SmsRecord record);
    // Removes the message at index (index < size()).
    void erase(size_t index);
    // Removes every message for which gone(record) is true, the others keeping
    // their order, in one pass however many go. Returns the old positions of
    // the removed messages, ascending.
    template <class Gone>
    std::vector<size_t> erase_if(Gone gone);
    // Makes room for more messages. Grows by at least an eighth of the current
    // size, so a long chat that gets one message per update is not copied on
    // every update, while a chat filled in one go gets no slack at all.
    void reserve_more(size_t more);

    // The newest message, or an empty record (time 0) for an empty chat.
    const SmsRecord& last_message() const;
    // How many messages of the Outbox the chat holds; kept with every change,
    // so that following the Outbox only looks into chats that have any.
    uint32_t outbox_count() const { return outbox_count_; }

    std::u16string name;    // the store's name, or the matching contact's
    std::u16string number;  // the correspondent's number
    std::u16string label;   // "mobile", "business", "home" when a contact matched
    std::u16string key;     // the chat key
    int32_t contact_id = -1;
    int32_t unread = 0;   // unread incoming messages counted into the chat
    std::u16string text;  // the chat form's edit text for this chat; never cached

private:
    std::vector<SmsRecord> messages_;
    uint32_t outbox_count_ = 0;
};

template <class Gone>
std::vector<size_t> Chat::erase_if(Gone gone) {
    std::vector<size_t> removed;
    size_t kept = 0;
    for (size_t i = 0; i < messages_.size(); ++i) {
        if (gone(std::as_const(messages_[i]))) {
            if (messages_[i].folder == kFolderOutbox) --outbox_count_;
            removed.push_back(i);
            continue;
        }
        if (kept != i) messages_[kept] = std::move(messages_[i]);
        ++kept;
    }
    messages_.erase(messages_.begin() + static_cast<std::ptrdiff_t>(kept), messages_.end());
    return removed;
}

// Chat-list order: the chat whose last message is later comes first; then
// the greater id of the last message; then the greater key. Chats with equal
// keys are equal.
bool chat_before(const Chat& a, const Chat& b);
