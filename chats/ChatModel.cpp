// The chat model.
//
//   construction and start ........... system settings, cache
//   contacts
//   update_chats ..................... scans, walks, Outbox, messages gone,
//                                      reading, filing
//   operations of the forms .......... load_sms, delete, mark read, observers
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
    registry::read_flag(kSettingsKey, u"Alerts", alerts_);
    if (!load_cache()) {
        log() << u"load_cache failed\n";
        chats_.clear();
    }
}

ChatModel::~ChatModel() {
    if (started_ && !alerts_) {
        stop_app_notification(kMessageNotificationName);
        registry::delete_value(kInboxSettingsKey, u"SMSNoSentMsg");
    }
}

void ChatModel::start() {
    if (started_) return;
    started_ = true;
    registry::write_number(kInboxSettingsKey, u"SMSNoSentMsg", 1);
    uint32_t options = 0;
    registry::read_number(kSmsNotificationKey, u"Options", options);
    registry::write_number(kSmsNotificationKey, u"Options", options & ~kOptionsBit);
    set_app_notification(kMessageNotificationName, message_command_line());
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

void ChatModel::save_cache() {
    if (started_) ChatCache::save(ChatCache::default_path(), chats_);
}

bool ChatModel::load_cache() {
    Clock::time_point start = Clock::now();
    if (!ChatCache::read(ChatCache::default_path(), chats_)) return false;
    known_.rebuild(chats_);
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
    std::vector<EntryId> gone[kFolderCount];  // ids that left folders 0..2, sorted
    std::vector<EntryId> outbox;              // ids now in the Outbox, sorted
    std::vector<EntryId> known;               // Outbox ids that a chat holds, sorted
    bool removed = false;                     // records left their chats
    std::vector<Chat*> emptied;               // chats that removals left empty
    size_t id_count = 0;                      // new ids read successfully
    std::vector<SmsRecord> pul;               // records to file, one per chat they go to
    ChatList chat_pul;                        // chats touched by this update
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
        scan_folder(folder, state);
        report(progress, folder / 15.0);
    }
    first_update_ = false;
    log() << u" scan 3 folders time:" << elapsed_ms(state.start);

    follow_outbox(state);
    drop_gone_messages(state);

    bool any_new = false;
    for (const auto& ids : state.new_ids) any_new |= !ids.empty();
    if (any_new) read_new_messages(state);
    if (!state.pul.empty()) file_into_list(state);
    drop_emptied_chats(state);
    if (state.chat_pul.empty() && !state.removed) return end_update_line(false);

    write_unread_total();
    save_cache();
    log() << u" modify chats time:" << elapsed_ms(state.start);
    return end_update_line(true);
}

bool ChatModel::end_update_line(bool changed) {
    log() << u"\n";
    return changed;
}

// New ids of one of the folders 0..2. Later updates read the last rows,
// stepping back only while a window brought something new, so an idle poll
// costs one 10-row read per folder. When the folder's row count is then not
// what the known ids and the new ones make, rows have left it: only then, and
// on a first update, is the folder walked in full.
void ChatModel::scan_folder(int32_t folder, UpdateState& state) {
    if (first_update_) {
        walk_folder(folder, state);
        return;
    }
    std::vector<EntryId>& new_ids = state.new_ids[folder];
    int32_t n = static_cast<int32_t>(store_->get_length(folder));
    auto look = [&](int32_t from, int32_t to) {
        size_t before = new_ids.size();
        for (int32_t row = from; row < to; ++row) {
            EntryId id = store_->get_id(folder, row);
            if (!id.empty() && !known_.holds(folder, id)) new_ids.push_back(std::move(id));
        }
        return new_ids.size() > before;
    };
    for (int32_t end = n; end > 0;) {
        int32_t begin = std::max(end - kScanWindow, 0);
        if (!look(begin, end) || begin == 0) break;
        end = begin;
    }
    if (known_.accounts_for(folder, static_cast<size_t>(n), new_ids)) return;
    new_ids.clear();
    walk_folder(folder, state);
}

// Every row of the folder: the ids not known are new, the known ids not found
// have left the folder. Ids are only taken as gone from a walk that read every
// row of a store that stood still meanwhile; and a walk that finds none of
// the folder's known ids is believed only from a store built in this update,
// since a store that fails to read shows its folders empty.
//
// FIXME: a row count that failed reads as an empty folder; once the store
// tells a failed read from an empty folder, ask it instead of rebuilding.
void ChatModel::walk_folder(int32_t folder, UpdateState& state) {
    std::vector<EntryId>& new_ids = state.new_ids[folder];
    std::vector<EntryId> present;
    bool whole = walk_rows(folder, present);
    if (whole && !state.reloaded && !known_.ids(folder).empty()) {
        bool any_known = false;
        for (const EntryId& id : present)
            if ((any_known = known_.holds(folder, id))) break;
        if (!any_known) {
            rebuild_store(state, u" sms_manager reloaded because a folder emptied\n");
            whole = walk_rows(folder, present);
        }
    }
    if (!whole) {
        for (EntryId& id : present)
            if (!known_.holds(folder, id)) new_ids.push_back(std::move(id));
        return;
    }
    std::vector<EntryId> gone = known_.reconcile(folder, present, new_ids);
    if (gone.empty()) return;
    log() << u" gone" << folder << u":" << gone.size();
    state.gone[folder] = std::move(gone);
}

// The ids of every row of the folder, in row order. False when a row could not
// be read or the row count changed during the walk (rows moved under it).
bool ChatModel::walk_rows(int32_t folder, std::vector<EntryId>& present) {
    present.clear();
    uint32_t n = store_->get_length(folder);
    present.reserve(n);
    bool whole = store_->has_store();
    for (uint32_t row = 0; row < n; ++row) {
        EntryId id = store_->get_id(folder, static_cast<int32_t>(row));
        if (id.empty())
            whole = false;
        else
            present.push_back(std::move(id));
    }
    return whole && store_->get_length(folder) == n;
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
            known_.remove(kFolderOutbox, record.id);
            chat->erase(i);
            state.removed = true;
            if (chat->empty()) state.emptied.push_back(chat.get());
            if (state.notify)
                publish({ChatEvent::kMessageRemoved, static_cast<int32_t>(i), chat.get()});
        }
    }
    std::sort(state.known.begin(), state.known.end());

    for (const EntryId& id : state.outbox) {
        if (!known_.holds(kFolderOutbox, id)) {
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

// The records of messages that left folders 0..2 leave their chats, as when
// the user deletes them (kind 6 for each, from the last to the first).
void ChatModel::drop_gone_messages(UpdateState& state) {
    bool any = false;
    for (int32_t folder = kFolderInbox; folder <= kFolderDrafts; ++folder)
        any |= !state.gone[folder].empty();
    if (!any) return;
    for (auto& chat : chats_) {
        bool incoming_gone = false;
        std::vector<size_t> removed = chat->erase_if([&](const SmsRecord& record) {
            if (record.folder > kFolderDrafts) return false;
            const std::vector<EntryId>& gone = state.gone[record.folder];
            if (!std::binary_search(gone.begin(), gone.end(), record.id)) return false;
            incoming_gone |= record.folder == kFolderInbox;
            return true;
        });
        if (removed.empty()) continue;
        state.removed = true;
        if (incoming_gone && chat->unread > 0) recount_unread(*chat);
        if (chat->empty()) state.emptied.push_back(chat.get());
        if (state.notify)
            for (size_t i = removed.size(); i-- > 0;)
                publish({ChatEvent::kMessageRemoved, static_cast<int32_t>(removed[i]), chat.get()});
    }
}

// A chat whose Inbox messages left the store may have counted some of them
// as unread. Which ones is not kept, so the count becomes the number of its
// remaining Inbox messages that the store still has unread, never more than
// before. The newest are read first: unread messages are usually the last.
void ChatModel::recount_unread(Chat& chat) {
    int32_t unread = 0;
    for (size_t i = chat.size(); i-- > 0 && unread < chat.unread;) {
        const SmsRecord& kept = chat.messages()[i];
        if (kept.folder != kFolderInbox) continue;
        SmsRecord record;
        record.id = kept.id;
        record.folder = kept.folder;
        // A message that cannot be read keeps its place in the count.
        if (!store_->read_sms(record) || record.unread()) ++unread;
    }
    chat.unread = unread;
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
                // Not recorded: a later update finds the id again. Until then
                // it counts among the folder's rows the model knows of.
                log() << u" can't read" << folder;
                if (folder != kFolderOutbox) known_.note_unreadable(folder, id);
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
        known_.add(folder, batch);
    }
}

// Files the pool into the chats and puts the chats it touched at the top.
void ChatModel::file_into_list(UpdateState& state) {
    log() << u" read sms id_pul_size:" << state.id_count << u" sms_pul_size:" << state.pul.size()
          << u" time:" << elapsed_ms(state.start);
    // Copies of one message for several recipients have equal ids and thus
    // compare equal; the stable sort keeps them in recipient order.
    std::stable_sort(state.pul.begin(), state.pul.end());

    file_records(state);
    if (state.chat_pul.empty()) return;
    log() << u" fill chat_pul time:" << elapsed_ms(state.start);
    std::stable_sort(state.chat_pul.begin(), state.chat_pul.end(),
                     [](const auto& a, const auto& b) { return chat_before(*a, *b); });
    // The touched chats go to the top in their order; the others keep their
    // relative order below them (the list is never fully re-sorted).
    for (size_t i = 0; i < state.chat_pul.size(); ++i) {
        chats_.insert(chats_.begin() + static_cast<std::ptrdiff_t>(i),
                      std::move(state.chat_pul[i]));
        if (state.notify) publish({ChatEvent::kChatInserted, static_cast<int32_t>(i), nullptr});
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
            std::unique_ptr<Chat> listed = take_from_list(key, state.notify);
            state.chat_pul.push_back(listed ? std::move(listed)
                                            : std::make_unique<Chat>(chat_identity(record)));
            chat = state.chat_pul.back().get();
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

// Takes the chat with this key out of the list, or returns null when there is
// none.
std::unique_ptr<Chat> ChatModel::take_from_list(const std::u16string& key, bool notify) {
    for (size_t i = 0; i < chats_.size(); ++i) {
        if (chats_[i]->key != key) continue;
        std::unique_ptr<Chat> chat = std::move(chats_[i]);
        chats_.erase(chats_.begin() + static_cast<std::ptrdiff_t>(i));
        if (notify) publish({ChatEvent::kChatRemoved, static_cast<int32_t>(i), nullptr});
        return chat;
    }
    return nullptr;
}

// A chat whose last messages left the store leaves the list (kind 3), as the
// chat form drops a chat it closes empty. The current chat stays: the chat
// form shows it and drops it itself when it closes.
void ChatModel::drop_emptied_chats(UpdateState& state) {
    for (Chat* chat : state.emptied) {
        // Found by address first: a chat no longer listed is not touched.
        int32_t index = index_of(chat);
        if (index < 0 || !chat->empty() || chat->key == current_chat_key_) continue;
        std::unique_ptr<Chat> gone = std::move(chats_[static_cast<size_t>(index)]);
        chats_.erase(chats_.begin() + index);
        if (state.notify) publish({ChatEvent::kChatRemoved, index, nullptr});
    }
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
        known_.remove(record.folder, record.id);
    return deleted;
}

void ChatModel::delete_chat(Chat* chat) {
    int32_t index = index_of(chat);
    if (index < 0) return;
    for (const SmsRecord& record : chat->messages()) delete_message(record);
    std::unique_ptr<Chat> gone = std::move(chats_[static_cast<size_t>(index)]);
    chats_.erase(chats_.begin() + index);
    // Its unread messages no longer count.
    write_unread_total();
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

void ChatModel::publish(const ChatEvent& event) {
    observers_.for_each([&event](ChatObserver& observer) { observer.on_chat_event(event); });
}

int64_t ChatModel::unread_total() const {
    int64_t total = 0;
    for (const auto& chat : chats_) total += chat->unread;
    return total;
}

void ChatModel::write_unread_total() {
    if (!started_) return;
    registry::write_number(kSettingsKey, u"Unread", static_cast<uint32_t>(unread_total()));
}
