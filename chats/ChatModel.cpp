// The chat model.
//
//   construction and destruction ..... system settings, cache
//   update_chats ..................... scans, Outbox, reading, filing
//   operations of the forms .......... load_sms, delete, mark read, observers
//   folder indexes
#include "chats/ChatModel.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <algorithm>
#include <chrono>
#include <iterator>
#include <memory>
#include <unordered_map>

#include "chats/ChatCache.h"
#include "chats/ChatKey.h"
#include "messaging/AppNotification.h"
#include "platform/LocaleFormat.h"
#include "platform/Log.h"
#include "platform/Registry.h"

namespace {

constexpr char16_t kInboxSettingsKey[] =
    u"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Inbox\\Settings";
constexpr char16_t kSmsNotificationKey[] =
    u"HKEY_CURRENT_USER\\ControlPanel\\Notifications\\{A877D65B-239C-47a7-9304-0D347F580408}";
constexpr uint32_t kOptionsBit = 0x8;
// Rows looked at per step when searching the end of a folder for new ids.
constexpr int32_t kScanWindow = 10;
// Records emptied by one update after which freed memory is handed back.
constexpr size_t kTrimAfter = 1000;

using Clock = std::chrono::steady_clock;

long long elapsed_ms(Clock::time_point since) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - since).count();
}

void report(ProgressListener* progress, double fraction) {
    if (progress) progress->on_progress(fraction);
}

// Leaves a record as the cache gives it: its id and folder. load_sms reads the
// rest again when a form shows the message. The record is rebuilt rather
// than assigned, since an assigned empty string keeps its old buffer.
void keep_only_id(SmsRecord& record) {
    SmsRecord bare;
    bare.id = std::move(record.id);
    bare.folder = record.folder;
    std::destroy_at(&record);
    std::construct_at(&record, std::move(bare));
}

}  // namespace

// --- Construction and destruction ------------------------------------------

ChatModel::ChatModel() : store_(std::make_unique<sms_manager>()) {
    registry::write_number(kInboxSettingsKey, u"SMSNoSentMsg", 1);
    uint32_t options = 0;
    registry::read_number(kSmsNotificationKey, u"Options", options);
    registry::write_number(kSmsNotificationKey, u"Options", options & ~kOptionsBit);
    set_app_notification(kMessageNotificationName, message_command_line());
    registry::read_flag(kSettingsKey, u"Alerts", alerts_);

    if (!load_cache()) {
        log() << u"load_cache failed\n";
        chats_.clear();
    }
}

ChatModel::~ChatModel() {
    if (!alerts_) {
        stop_app_notification(kMessageNotificationName);
        registry::delete_value(kInboxSettingsKey, u"SMSNoSentMsg");
    }
}

void ChatModel::load(ProgressListener* progress) {
    Clock::time_point start = Clock::now();
    update_chats(false, progress);
    log() << u"update_chats time:" << elapsed_ms(start) << u"\n";
    load_contacts();
}

// --- Contacts ------------------------------------------------------------------

void ChatModel::load_contacts() {
    Clock::time_point start = Clock::now();
    // Following the changes starts before the reading, so that a card written
    // meanwhile is reported rather than missed; reporting one already read
    // only adds its numbers again.
    contacts_.subscribe();
    for (const ContactRecord& contact : contacts_.all_contacts()) phones_.add_contact(contact);
    link_chats();
    log() << u"load_contacts time:" << elapsed_ms(start) << u"\n";
}

void ChatModel::link_chats() {
    for (size_t i = 0; i < chats_.size(); ++i) {
        Chat& chat = *chats_[i];
        if (chat.key.empty()) continue;
        long found = phones_.find(chat.key);
        if (found < 0) {
            // Numbers without a contact become choosable as recipients too.
            phones_.add(PhoneEntry{chat.name, chat.number, u"", chat.key, chat.contact_id, 0});
            continue;
        }
        const PhoneEntry& entry = phones_[static_cast<size_t>(found)];
        chat.contact_id = entry.contact_id;
        if (chat.name == entry.name && chat.label == entry.label) continue;
        chat.name = entry.name;
        chat.label = entry.label;
        publish({ChatEvent::kChatChanged, static_cast<int32_t>(i), &chat});
    }
}

bool ChatModel::poll() {
    contacts_.process_changes();
    bool changed = update_chats(true, nullptr);
    if (changed) link_chats();
    return changed;
}

std::u16string ChatModel::resolve_sender_name(const std::u16string& number) {
    std::optional<ContactRecord> contact = contacts_.find_contact_by_phone(number);
    if (!contact) return {};
    std::u16string key = chat_key(number);
    for (ContactField field :
         {ContactField::Mobile, ContactField::BusinessTel, ContactField::HomeTel}) {
        if (chat_key(contact->field(field)) != key) continue;
        std::u16string name = contact->display_name();
        log() << u"find_contact_by_phone:" << number << u" to " << name << u"\n";
        return name;
    }
    return {};
}

void ChatModel::select_chat(const std::u16string& key) {
    current_chat_key_ = key;
    phones_.select(key);
}

void ChatModel::on_contact_added(ContactsDirectory& directory, const ContactRecord& contact) {
    if (&directory != &contacts_) return;
    log() << u"on_contact_added for id:" << contact.id << u"\n";
    if (phones_.add_contact(contact)) link_chats();
}

void ChatModel::on_contact_changed(ContactsDirectory& directory, int32_t id) {
    if (&directory != &contacts_) return;
    phones_.remove_contact(id);
    std::optional<ContactRecord> contact = contacts_.contact_by_id(id);
    log() << u"on_contact_changed for id:" << id << u"\n";
    // A contact whose names were all cleared adds nothing; the chats keep its
    // former name until the next link.
    if (contact && phones_.add_contact(*contact)) link_chats();
}

void ChatModel::on_contact_removed(ContactsDirectory& directory, int32_t id) {
    if (&directory != &contacts_) return;
    log() << u"on_contact_removed for id:" << id << u"\n";
    phones_.remove_contact(id);
    link_chats();
}

void ChatModel::save_cache() { ChatCache::save(ChatCache::default_path(), chats_); }

bool ChatModel::load_cache() {
    Clock::time_point start = Clock::now();
    if (!ChatCache::read(ChatCache::default_path(), chats_)) return false;

    size_t counts[kFolderCount] = {};
    for (const auto& chat : chats_)
        for (const SmsRecord& record : chat->messages()) ++counts[record.folder];
    for (int32_t folder = 0; folder < kFolderCount; ++folder) {
        indexes_[folder].clear();
        indexes_[folder].reserve(counts[folder]);
    }
    for (const auto& chat : chats_)
        for (const SmsRecord& record : chat->messages())
            indexes_[record.folder].push_back(record.id);
    for (auto& index : indexes_) {
        std::sort(index.begin(), index.end());
        index.erase(std::unique(index.begin(), index.end()), index.end());
    }
    log() << u"load_cache success:" << chats_.size() << u" chats time:" << elapsed_ms(start)
          << u"\n";
    return true;
}

// --- update_chats ------------------------------------------------------------

struct ChatModel::UpdateState {
    bool notify = false;
    ProgressListener* progress = nullptr;
    Clock::time_point start = Clock::now();
    bool reloaded = false;  // the store is rebuilt at most once per update

    std::vector<EntryId> new_ids[kFolderCount];
    std::vector<EntryId> outbox;  // ids now in the Outbox, sorted
    std::vector<EntryId> known;   // Outbox ids that a chat holds, sorted
    size_t id_count = 0;          // new ids read successfully
    std::vector<SmsRecord> pul;   // records to file, one per chat they go to
    ChatList chat_pul;            // chats touched by this update
    Chat* newest_unread = nullptr;
    size_t newest_unread_index = 0;
    // Each touched chat with the position of its first record of this update.
    std::vector<std::pair<Chat*, size_t>> filed_from;
};

bool ChatModel::update_chats(bool notify, ProgressListener* progress) {
    // One line per update: the pieces below continue it, and it ends when the
    // update returns.
    log() << u"update_chats " << first_update_;
    pending_.reset();
    UpdateState state;
    state.notify = notify;
    state.progress = progress;

    for (int32_t folder = kFolderInbox; folder <= kFolderDrafts; ++folder) {
        scan_folder(folder, state.new_ids[folder]);
        report(progress, folder / 15.0);
    }
    first_update_ = false;
    log() << u" scan 3 folders time:" << elapsed_ms(state.start);

    follow_outbox(state);

    bool any_new = false;
    for (const auto& ids : state.new_ids) any_new |= !ids.empty();
    if (!any_new) return end_update_line(false);

    read_new_messages(state);
    if (state.pul.empty()) return end_update_line(false);
    log() << u" read sms id_pul_size:" << state.id_count << u" sms_pul_size:" << state.pul.size()
          << u" time:" << elapsed_ms(state.start);
    // Copies of one message for several recipients have equal ids and thus
    // compare equal; the stable sort keeps them in recipient order.
    std::stable_sort(state.pul.begin(), state.pul.end());

    file_records(state);
    if (state.chat_pul.empty()) return end_update_line(false);
    log() << u" fill chat_pul time:" << elapsed_ms(state.start);
    std::stable_sort(state.chat_pul.begin(), state.chat_pul.end(),
                     [](const auto& a, const auto& b) { return chat_before(*a, *b); });
    // The touched chats go to the top in their order; the others keep their
    // relative order below them (the list is never fully re-sorted).
    for (size_t i = 0; i < state.chat_pul.size(); ++i) {
        chats_.insert(chats_.begin() + static_cast<std::ptrdiff_t>(i),
                      std::move(state.chat_pul[i]));
        if (notify) publish({ChatEvent::kChatInserted, static_cast<int32_t>(i), nullptr});
    }

    if (alerts_ && state.newest_unread)
        pending_ =
            std::make_unique<SmsRecord>(state.newest_unread->messages()[state.newest_unread_index]);

    // The records were read only to find their chats. Keeping their texts
    // would hold the whole store in memory after a first update (over half a
    // kilobyte per message, the texts' allocations scattered between the
    // records), so they are left as a start from the cache leaves them and
    // read again when a form shows them. Observers have seen them whole.
    size_t emptied = 0;
    for (auto [chat, from] : state.filed_from)
        for (size_t i = from; i < chat->size(); ++i, ++emptied) keep_only_id(chat->message(i));
#ifdef __GLIBC__
    // The freed texts lie between records that stay, where the allocator
    // never returns memory by itself; after a large update hand it back.
    if (emptied >= kTrimAfter) malloc_trim(0);
#endif

    write_unread_total();
    save_cache();
    log() << u" modify chats time:" << elapsed_ms(state.start);
    return end_update_line(true);
}

bool ChatModel::end_update_line(bool changed) {
    log() << u"\n";
    return changed;
}

// New ids of one of the folders 0..2. The first update reads the whole
// folder; later ones read the last rows, stepping back only while a window
// brought something new, so an idle poll costs one 10-row read per folder.
void ChatModel::scan_folder(int32_t folder, std::vector<EntryId>& new_ids) {
    int32_t n = static_cast<int32_t>(store_->get_length(folder));
    auto look = [&](int32_t from, int32_t to) {
        size_t before = new_ids.size();
        for (int32_t row = from; row < to; ++row) {
            EntryId id = store_->get_id(folder, row);
            if (!id.empty() && !index_holds(folder, id)) new_ids.push_back(std::move(id));
        }
        return new_ids.size() > before;
    };
    if (first_update_) {
        look(0, n);
        return;
    }
    for (int32_t end = n; end > 0;) {
        int32_t begin = std::max(end - kScanWindow, 0);
        if (!look(begin, end) || begin == 0) break;
        end = begin;
    }
}

// Messages that left the Outbox (sent, or failed and moved) leave their chats;
// Sent Items brings them back as new messages. Ids new to the Outbox are new.
//
// Only chats that hold Outbox messages are walked: each chat counts them, so
// a poll does not touch the messages of every chat to find the few, usually
// none, that wait in the Outbox.
void ChatModel::follow_outbox(UpdateState& state) {
    uint32_t count = store_->get_length(kFolderOutbox);
    for (uint32_t row = 0; row < count; ++row) {
        EntryId id = store_->get_id(kFolderOutbox, static_cast<int32_t>(row));
        if (!id.empty()) state.outbox.push_back(std::move(id));
    }
    std::sort(state.outbox.begin(), state.outbox.end());

    for (auto& chat : chats_) {
        if (chat->outbox_count() == 0) continue;
        for (size_t i = chat->size(); i-- > 0;) {
            const SmsRecord& record = chat->messages()[i];
            if (record.folder != kFolderOutbox) continue;
            if (std::binary_search(state.outbox.begin(), state.outbox.end(), record.id)) {
                state.known.push_back(record.id);
                continue;
            }
            // The id leaves the index with the message: should the store ever
            // put the same id back into the Outbox, it is then simply new.
            index_remove(kFolderOutbox, record.id);
            chat->erase(i);
            if (state.notify)
                publish({ChatEvent::kMessageRemoved, static_cast<int32_t>(i), chat.get()});
        }
    }
    std::sort(state.known.begin(), state.known.end());

    for (const EntryId& id : state.outbox) {
        if (!index_holds(kFolderOutbox, id)) {
            state.new_ids[kFolderOutbox].push_back(id);
        } else if (!std::binary_search(state.known.begin(), state.known.end(), id)) {
            // Known to the index but held by no chat: the store's view was
            // stale. After the rebuild the message is read again as new, so
            // it cannot stay invisible for the rest of the run.
            rebuild_store(state, u" sms_manager reloaded because outbox failed\n");
            state.new_ids[kFolderOutbox].push_back(id);
        }
    }
    log() << u" scan outbox size:" << count << u" time:" << elapsed_ms(state.start);
}

void ChatModel::rebuild_store(UpdateState& state, const char16_t* line) {
    if (state.reloaded) return;
    state.reloaded = true;
    // The new manager is built while the old one still exists, then the old
    // one goes.
    auto fresh = std::make_unique<sms_manager>();
    store_ = std::move(fresh);
    log() << line;
}

// Reads every new id; each readable one becomes a record in the pool, one
// copy per recipient for outgoing messages to several people.
void ChatModel::read_new_messages(UpdateState& state) {
    size_t total = 0;
    for (const auto& ids : state.new_ids) total += ids.size();
    size_t handled = 0;
    for (int32_t folder = 0; folder < kFolderCount; ++folder) {
        std::vector<EntryId> batch;
        for (const EntryId& id : state.new_ids[folder]) {
            SmsRecord record;
            record.id = id;
            record.folder = static_cast<FolderIndex>(folder);
            bool read = store_->read_sms(record);
            if (read && record.correspondent().empty()) {
                // Read, but with neither name nor number (a draft nobody was
                // chosen for yet): there is no chat to file it in. Its id is
                // recorded all the same, so that it is not read again, with a
                // rebuild of the store, on every poll. An Outbox id stays
                // unrecorded: the Outbox check expects a chat for every id it
                // knows, and the transport soon takes the message away.
                log() << u" no correspondent" << folder;
                if (folder != kFolderOutbox) batch.push_back(id);
            } else if (!read) {
                // Not recorded: a later update finds the id again.
                log() << u" can't read" << folder;
                rebuild_store(state, u" sms_manager reloaded\n");
            } else {
                set_display_texts(record);
                batch.push_back(id);
                size_t first = state.pul.size();
                state.pul.push_back(std::move(record));
                size_t recipients = state.pul[first].recipients.size();
                if (folder != kFolderInbox && recipients > 1) {
                    log() << u" recipients:" << recipients;
                    // The first copy keeps the full list; every further
                    // recipient gets a copy holding only that recipient.
                    std::vector<Recipient> all = std::move(state.pul[first].recipients);
                    state.pul[first].recipients.clear();
                    for (size_t r = 1; r < recipients; ++r) {
                        SmsRecord copy = state.pul[first];
                        copy.recipients.push_back(all[r]);
                        state.pul.push_back(std::move(copy));
                    }
                    state.pul[first].recipients = std::move(all);
                }
            }
            ++handled;
            report(state.progress,
                   0.2 + 0.6 * static_cast<double>(handled) / static_cast<double>(total));
        }
        state.id_count += batch.size();
        index_add(folder, batch);
    }
}

// Files the pool, oldest first, into the chats of their keys. A chat that
// gets a message leaves the list for the chat_pul (kind 3) and returns to the
// top afterwards.
void ChatModel::file_records(UpdateState& state) {
    std::vector<std::u16string> keys;
    keys.reserve(state.pul.size());
    std::unordered_map<std::u16string, size_t> per_key;
    for (const SmsRecord& record : state.pul) {
        keys.push_back(chat_identity(record).key);
        ++per_key[keys.back()];
    }

    std::unordered_map<std::u16string, Chat*> touched;
    for (size_t i = 0; i < state.pul.size(); ++i) {
        SmsRecord& record = state.pul[i];
        const std::u16string& key = keys[i];
        Chat* chat = nullptr;
        if (auto at = touched.find(key); at != touched.end()) {
            chat = at->second;
        } else {
            chat = take_from_list(key, state.notify);
            if (chat) {
                state.chat_pul.emplace_back(chat);
            } else {
                state.chat_pul.push_back(std::make_unique<Chat>(chat_identity(record)));
                chat = state.chat_pul.back().get();
            }
            touched.emplace(key, chat);
            state.filed_from.emplace_back(chat, chat->size());
            // Room for everything this update brings to the chat, at once.
            chat->reserve_more(per_key[key]);
        }

        bool unread_incoming = record.folder == kFolderInbox && record.unread();
        chat->append(std::move(record));
        size_t position = chat->size() - 1;
        if (unread_incoming) {
            ++chat->unread;
            state.newest_unread = chat;
            state.newest_unread_index = position;
        }
        if (state.notify) publish({ChatEvent::kMessageAdded, static_cast<int32_t>(position), chat});
        report(state.progress,
               0.8 + 0.2 * static_cast<double>(i) / static_cast<double>(state.pul.size()));
    }
}

// Takes the chat with this key out of the list and hands over its ownership,
// or returns null when there is none.
Chat* ChatModel::take_from_list(const std::u16string& key, bool notify) {
    for (size_t i = 0; i < chats_.size(); ++i) {
        if (chats_[i]->key != key) continue;
        Chat* chat = chats_[i].release();
        chats_.erase(chats_.begin() + static_cast<std::ptrdiff_t>(i));
        if (notify) publish({ChatEvent::kChatRemoved, static_cast<int32_t>(i), nullptr});
        return chat;
    }
    return nullptr;
}

// --- Operations of the forms -------------------------------------------------

bool ChatModel::load_sms(SmsRecord& record) {
    if (record.id.empty()) return false;
    if (!record.correspondent().empty()) return true;
    if (!store_->read_sms(record) || record.correspondent().empty()) return false;
    set_display_texts(record);
    return true;
}

void ChatModel::set_display_texts(SmsRecord& record) {
    record.time_text = locale_format::format_time(record.time);
    record.date_text = locale_format::format_long_date(record.time);
}

bool ChatModel::delete_message(const SmsRecord& record) {
    bool deleted = store_->delete_sms(record);
    if (record.folder >= kFolderInbox && record.folder <= kFolderDrafts)
        index_remove(record.folder, record.id);
    return deleted;
}

void ChatModel::delete_chat(Chat* chat) {
    int32_t index = index_of(chat);
    if (index < 0) return;
    for (const SmsRecord& record : chat->messages()) delete_message(record);
    std::unique_ptr<Chat> gone = std::move(chats_[static_cast<size_t>(index)]);
    chats_.erase(chats_.begin() + index);
    save_cache();
    publish({ChatEvent::kChatRemoved, index, nullptr});
}

void ChatModel::mark_chat_read(Chat& chat) {
    if (chat.unread != 0) {
        chat.unread = 0;
        store_->set_sms_read(chat.messages(), true);
        write_unread_total();
    }
    save_cache();
}

Chat& ChatModel::insert_chat(std::unique_ptr<Chat> chat) {
    chats_.insert(chats_.begin(), std::move(chat));
    publish({ChatEvent::kChatInserted, 0, nullptr});
    return *chats_.front();
}

Chat* ChatModel::find_chat(std::u16string_view key) const {
    for (const auto& chat : chats_)
        if (chat->key == key) return chat.get();
    return nullptr;
}

int32_t ChatModel::index_of(const Chat* chat) const {
    for (size_t i = 0; i < chats_.size(); ++i)
        if (chats_[i].get() == chat) return static_cast<int32_t>(i);
    return -1;
}

std::unique_ptr<SmsRecord> ChatModel::take_pending_message() { return std::move(pending_); }

void ChatModel::add_observer(ChatObserver* observer) { observers_.push_back(observer); }

void ChatModel::remove_observer(ChatObserver* observer) {
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void ChatModel::publish(const ChatEvent& event) {
    // A copy, so an observer may remove itself while being told.
    std::vector<ChatObserver*> observers = observers_;
    for (ChatObserver* observer : observers) observer->on_chat_event(event);
}

int64_t ChatModel::unread_total() const {
    int64_t total = 0;
    for (const auto& chat : chats_) total += chat->unread;
    return total;
}

void ChatModel::write_unread_total() {
    registry::write_number(kSettingsKey, u"Unread", static_cast<uint32_t>(unread_total()));
}

// --- Folder indexes ------------------------------------------------------------

bool ChatModel::index_holds(int32_t folder, const EntryId& id) const {
    const auto& index = indexes_[folder];
    return std::binary_search(index.begin(), index.end(), id);
}

void ChatModel::index_add(int32_t folder, std::vector<EntryId>& ids) {
    if (ids.empty()) return;
    // Sorting the few new ids and merging them in keeps a poll linear in the
    // size of the index.
    std::sort(ids.begin(), ids.end());
    auto& index = indexes_[folder];
    auto middle = static_cast<std::ptrdiff_t>(index.size());
    index.insert(index.end(), std::make_move_iterator(ids.begin()),
                 std::make_move_iterator(ids.end()));
    std::inplace_merge(index.begin(), index.begin() + middle, index.end());
    index.erase(std::unique(index.begin(), index.end()), index.end());
}

void ChatModel::index_remove(int32_t folder, const EntryId& id) {
    auto& index = indexes_[folder];
    auto at = std::lower_bound(index.begin(), index.end(), id);
    if (at != index.end() && *at == id) index.erase(at);
}
