#include "chats/ChatFiling.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <algorithm>
#include <unordered_map>

#include "platform/Log.h"

namespace {

// Records emptied by one update after which freed memory is handed back.
constexpr size_t kTrimAfter = 1000;

// Leaves a record as the cache gives it: its id and folder, its details
// freed. load_sms reads the rest again when a form shows the message.
void keep_only_id(SmsRecord& record) {
    SmsRecord bare;
    bare.id = std::move(record.id);
    bare.folder = record.folder;
    record = std::move(bare);
}

}  // namespace

bool ChatFiling::file(std::vector<SmsRecord> pool, size_t id_count) {
    pool_ = std::move(pool);
    log() << u" read sms id_pul_size:" << id_count << u" sms_pul_size:" << pool_.size() << u" time:"
          << clock_.elapsed_ms();
    // Copies of one message for several recipients have equal ids and thus
    // compare equal; the stable sort keeps them in recipient order.
    std::stable_sort(pool_.begin(), pool_.end());

    file_records();
    if (touched_.empty()) return false;
    log() << u" fill chat_pul time:" << clock_.elapsed_ms();
    std::stable_sort(touched_.begin(), touched_.end(),
                     [](const auto& a, const auto& b) { return chat_before(*a, *b); });
    // The touched chats go to the top in their order; the others keep their
    // relative order below them (the list is never fully re-sorted).
    ChatModel::ChatList& chats = model_.chats_;
    for (size_t i = 0; i < touched_.size(); ++i) {
        chats.insert(chats.begin() + static_cast<std::ptrdiff_t>(i), std::move(touched_[i]));
        if (notify_) model_.publish({ChatEvent::kChatInserted, static_cast<int32_t>(i), nullptr});
    }

    if (model_.alerts_ && newest_unread_)
        model_.pending_ =
            std::make_unique<SmsRecord>(newest_unread_->messages()[newest_unread_index_]);

    // The records were read only to find their chats. Keeping their texts
    // would hold the whole store in memory after a first update (over half a
    // kilobyte per message, the texts' allocations scattered between the
    // records), so they are left as a start from the cache leaves them and
    // read again when a form shows them. Observers have seen them whole.
    size_t emptied = 0;
    for (auto [chat, from] : filed_from_)
        for (size_t i = from; i < chat->size(); ++i, ++emptied) keep_only_id(chat->message(i));
#ifdef __GLIBC__
    // The freed texts lie between records that stay, where the allocator
    // never returns memory by itself; after a large update hand it back.
    if (emptied >= kTrimAfter) malloc_trim(0);
#endif
    return true;
}

// Files the pool, oldest first, into the chats of their keys. A chat that
// gets a message leaves the list for the chat_pul (kind 3) and returns to the
// top afterwards.
void ChatFiling::file_records() {
    std::vector<std::u16string> keys;
    keys.reserve(pool_.size());
    std::unordered_map<std::u16string, size_t> per_key;
    for (const SmsRecord& record : pool_) {
        keys.push_back(chat_identity(record).key);
        ++per_key[keys.back()];
    }

    std::unordered_map<std::u16string, Chat*> touched;
    for (size_t i = 0; i < pool_.size(); ++i) {
        SmsRecord& record = pool_[i];
        const std::u16string& key = keys[i];
        Chat* chat = nullptr;
        if (auto at = touched.find(key); at != touched.end()) {
            chat = at->second;
        } else {
            std::unique_ptr<Chat> listed = take_from_list(key);
            touched_.push_back(listed ? std::move(listed)
                                      : std::make_unique<Chat>(chat_identity(record)));
            chat = touched_.back().get();
            touched.emplace(key, chat);
            filed_from_.emplace_back(chat, chat->size());
            // Room for everything this update brings to the chat, at once.
            chat->reserve_more(per_key[key]);
        }

        bool unread_incoming = record.folder == kFolderInbox && record.unread();
        chat->append(std::move(record));
        size_t position = chat->size() - 1;
        if (unread_incoming) {
            ++chat->unread;
            newest_unread_ = chat;
            newest_unread_index_ = position;
        }
        if (notify_)
            model_.publish({ChatEvent::kMessageAdded, static_cast<int32_t>(position), chat});
        report(0.8 + 0.2 * static_cast<double>(i) / static_cast<double>(pool_.size()));
    }
}

// Takes the chat with this key out of the list, or returns null when there is
// none.
std::unique_ptr<Chat> ChatFiling::take_from_list(const std::u16string& key) {
    ChatModel::ChatList& chats = model_.chats_;
    for (size_t i = 0; i < chats.size(); ++i) {
        if (chats[i]->key != key) continue;
        std::unique_ptr<Chat> chat = std::move(chats[i]);
        chats.erase(chats.begin() + static_cast<std::ptrdiff_t>(i));
        if (notify_) model_.publish({ChatEvent::kChatRemoved, static_cast<int32_t>(i), nullptr});
        return chat;
    }
    return nullptr;
}

void ChatFiling::report(double fraction) const {
    if (progress_) progress_->on_progress(fraction);
}
