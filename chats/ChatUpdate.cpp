#include "chats/ChatUpdate.h"

#include <algorithm>
#include <memory>

#include "chats/ChatFiling.h"
#include "platform/Log.h"

namespace {

// Rows looked at per step when searching the end of a folder for new ids.
constexpr int32_t kScanWindow = 10;

}  // namespace

bool ChatUpdate::run() {
    // One line per update: the pieces below continue it, and it ends when the
    // update returns.
    log() << u"update_chats " << model_.first_update_;
    model_.pending_.reset();

    for (int32_t folder = kFolderInbox; folder <= kFolderDrafts; ++folder) {
        scan_folder(folder);
        report(folder / 15.0);
    }
    model_.first_update_ = false;
    log() << u" scan 3 folders time:" << clock_.elapsed_ms();

    follow_outbox();
    drop_gone_messages();

    bool any_new = false;
    for (const auto& ids : new_ids_) any_new |= !ids.empty();
    if (any_new) read_new_messages();
    bool filed = false;
    if (!pool_.empty())
        filed = ChatFiling(model_, notify_, progress_, clock_).file(std::move(pool_), id_count_);
    drop_emptied_chats();
    if (!filed && !removed_) {
        log() << u"\n";
        return false;
    }

    model_.write_unread_total();
    model_.save_cache();
    log() << u" modify chats time:" << clock_.elapsed_ms() << u"\n";
    return true;
}

// --- scans and walks -----------------------------------------------------------

// New ids of one of the folders 0..2. An update reads the last rows,
// stepping back only while a window brought something new, so an idle poll
// costs one 10-row read per folder. The store gives every row that enters a
// folder (new, or moved there) the next place at its end, so when the
// folder's row count is what the known ids and the new ones make, nothing
// else changed; otherwise rows have left it, and the folder is walked in
// full. That holds for the first update too, whose known ids come from the
// cache: a start walks only the folders that changed while the program was
// not running, and a folder the cache knows nothing of is walked at once.
void ChatUpdate::scan_folder(int32_t folder) {
    if (model_.first_update_ && model_.known_.ids(folder).empty()) {
        walk_folder(folder);
        return;
    }
    sms_manager& store = *model_.store_;
    std::vector<EntryId>& new_ids = new_ids_[folder];
    int32_t n = static_cast<int32_t>(store.get_length(folder));
    auto look = [&](int32_t from, int32_t to) {
        size_t before = new_ids.size();
        for (int32_t row = from; row < to; ++row) {
            EntryId id = store.get_id(folder, row);
            if (!id.empty() && !model_.known_.holds(folder, id)) new_ids.push_back(std::move(id));
        }
        return new_ids.size() > before;
    };
    for (int32_t end = n; end > 0;) {
        int32_t begin = std::max(end - kScanWindow, 0);
        if (!look(begin, end) || begin == 0) break;
        end = begin;
    }
    if (model_.known_.accounts_for(folder, static_cast<size_t>(n), new_ids)) return;
    new_ids.clear();
    walk_folder(folder);
}

// Every row of the folder: the ids not known are new, the known ids not found
// have left the folder. Ids are taken as gone only from a whole walk: after one
// that failed, the known ids stay and a later update walks again.
void ChatUpdate::walk_folder(int32_t folder) {
    KnownIds& known = model_.known_;
    std::vector<EntryId>& new_ids = new_ids_[folder];
    std::vector<EntryId> present;
    if (!walk(folder, present)) {
        for (EntryId& id : present)
            if (!known.holds(folder, id)) new_ids.push_back(std::move(id));
        return;
    }
    std::vector<EntryId> gone = known.reconcile(folder, present, new_ids);
    if (gone.empty()) return;
    log() << u" gone" << folder << u":" << gone.size();
    gone_[folder] = std::move(gone);
}

// The ids of every row of the folder, in row order, all read from one state of
// the store (sms_manager::get_all_ids). False, with one piece of the log line,
// when the store failed during the walk (a row count that fails reads as 0, a
// row that fails as none) or the folder is not open: what was read is then no
// account of the folder.
//
// A manager opens its folders when it is built, and a folder that failed to
// open then reads as empty for as long as it lives; so the manager is rebuilt
// first (once per update), as at a message that cannot be read.
bool ChatUpdate::walk(int32_t folder, std::vector<EntryId>& present) {
    if (model_.store_->has_store() && !model_.store_->has_folder(folder))
        rebuild_store(u" sms_manager reloaded because a folder was not open\n");
    bool whole = model_.store_->get_all_ids(folder, present);
    if (!whole) log() << u" walk failed" << folder;
    return whole;
}

void ChatUpdate::rebuild_store(const char16_t* line) {
    if (reloaded_) return;
    reloaded_ = true;
    // The new manager is built while the old one still exists, then the old
    // one goes.
    auto fresh = std::make_unique<sms_manager>();
    model_.store_ = std::move(fresh);
    log() << line;
}

// --- the Outbox ------------------------------------------------------------------

// Messages that left the Outbox (sent, or failed and moved) leave their chats;
// Sent Items brings them back as new messages. Ids new to the Outbox are new.
// All of this only after a whole walk of the Outbox: after one that failed,
// the Outbox messages stay in their chats, and a later update looks again.
//
// Only chats that hold Outbox messages are walked: each chat counts them, so
// a poll does not touch the messages of every chat to find the few, usually
// none, that wait in the Outbox.
void ChatUpdate::follow_outbox() {
    if (walk(kFolderOutbox, outbox_)) {
        std::sort(outbox_.begin(), outbox_.end());
        drop_sent_messages();
        find_new_outbox_ids();
    }
    log() << u" scan outbox size:" << outbox_.size() << u" time:" << clock_.elapsed_ms();
}

void ChatUpdate::drop_sent_messages() {
    for (auto& chat : model_.chats_) {
        if (chat->outbox_count() == 0) continue;
        for (size_t i = chat->size(); i-- > 0;) {
            const SmsRecord& record = chat->messages()[i];
            if (record.folder != kFolderOutbox) continue;
            if (std::binary_search(outbox_.begin(), outbox_.end(), record.id)) {
                held_outbox_.push_back(record.id);
                continue;
            }
            // The id leaves the index with the message: should the store ever
            // put the same id back into the Outbox, it is then simply new.
            model_.known_.remove(kFolderOutbox, record.id);
            chat->erase(i);
            removed_ = true;
            if (chat->empty()) emptied_.push_back(chat.get());
            if (notify_)
                model_.publish({ChatEvent::kMessageRemoved, static_cast<int32_t>(i), chat.get()});
        }
    }
    std::sort(held_outbox_.begin(), held_outbox_.end());
}

void ChatUpdate::find_new_outbox_ids() {
    for (const EntryId& id : outbox_) {
        if (!model_.known_.holds(kFolderOutbox, id)) {
            new_ids_[kFolderOutbox].push_back(id);
        } else if (!std::binary_search(held_outbox_.begin(), held_outbox_.end(), id)) {
            // Known to the index but held by no chat: the store's view was
            // stale. After the rebuild the message is read again as new, so
            // it cannot stay invisible for the rest of the run.
            rebuild_store(u" sms_manager reloaded because outbox failed\n");
            new_ids_[kFolderOutbox].push_back(id);
        }
    }
}

// --- messages gone -----------------------------------------------------------------

// The records of messages that left folders 0..2 leave their chats, as when
// the user deletes them (kind 6 for each, from the last to the first).
void ChatUpdate::drop_gone_messages() {
    bool any = false;
    for (int32_t folder = kFolderInbox; folder <= kFolderDrafts; ++folder)
        any |= !gone_[folder].empty();
    if (!any) return;
    for (auto& chat : model_.chats_) {
        bool incoming_gone = false;
        std::vector<size_t> removed = chat->erase_if([&](const SmsRecord& record) {
            if (record.folder > kFolderDrafts) return false;
            const std::vector<EntryId>& gone = gone_[record.folder];
            if (!std::binary_search(gone.begin(), gone.end(), record.id)) return false;
            incoming_gone |= record.folder == kFolderInbox;
            return true;
        });
        if (removed.empty()) continue;
        removed_ = true;
        if (incoming_gone && chat->unread > 0) recount_unread(*chat);
        if (chat->empty()) emptied_.push_back(chat.get());
        if (notify_)
            for (size_t i = removed.size(); i-- > 0;)
                model_.publish(
                    {ChatEvent::kMessageRemoved, static_cast<int32_t>(removed[i]), chat.get()});
    }
}

// A chat whose Inbox messages left the store may have counted some of them
// as unread. Which ones is not kept, so the count becomes the number of its
// remaining Inbox messages that the store still has unread, never more than
// before. The newest are read first: unread messages are usually the last.
void ChatUpdate::recount_unread(Chat& chat) {
    int32_t unread = 0;
    for (size_t i = chat.size(); i-- > 0 && unread < chat.unread;) {
        const SmsRecord& kept = chat.messages()[i];
        if (kept.folder != kFolderInbox) continue;
        SmsRecord record;
        record.id = kept.id;
        record.folder = kept.folder;
        // A message that cannot be read keeps its place in the count.
        if (!model_.store_->read_sms(record) || record.unread()) ++unread;
    }
    chat.unread = unread;
}

// A chat whose last messages left the store leaves the list (kind 3), as the
// chat form drops a chat it closes empty. The current chat stays: the chat
// form shows it and drops it itself when it closes.
void ChatUpdate::drop_emptied_chats() {
    ChatModel::ChatList& chats = model_.chats_;
    for (Chat* chat : emptied_) {
        // Found by address first: a chat no longer listed is not touched.
        int32_t index = model_.index_of(chat);
        if (index < 0 || !chat->empty() || chat->key == model_.current_chat_key_) continue;
        std::unique_ptr<Chat> gone = std::move(chats[static_cast<size_t>(index)]);
        chats.erase(chats.begin() + index);
        if (notify_) model_.publish({ChatEvent::kChatRemoved, index, nullptr});
    }
}

// --- reading -------------------------------------------------------------------------

// Reads every new id; each readable one becomes a record in the pool, one
// copy per recipient for outgoing messages to several people.
void ChatUpdate::read_new_messages() {
    size_t total = 0;
    for (const auto& ids : new_ids_) total += ids.size();
    size_t handled = 0;
    for (int32_t folder = 0; folder < kFolderCount; ++folder) {
        std::vector<EntryId> batch;
        for (const EntryId& id : new_ids_[folder]) {
            SmsRecord record;
            record.id = id;
            record.folder = static_cast<FolderIndex>(folder);
            bool read = model_.store_->read_sms(record);
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
                if (folder != kFolderOutbox) model_.known_.note_unreadable(folder, id);
                rebuild_store(u" sms_manager reloaded\n");
            } else {
                ChatModel::set_display_texts(record);
                batch.push_back(id);
                size_t first = pool_.size();
                pool_.push_back(std::move(record));
                size_t recipients = pool_[first].recipients().size();
                if (folder != kFolderInbox && recipients > 1) {
                    log() << u" recipients:" << recipients;
                    // The first copy keeps the full list; every further
                    // recipient gets a copy holding only that recipient.
                    std::vector<Recipient> all = std::move(pool_[first].details().recipients);
                    pool_[first].details().recipients.clear();
                    for (size_t r = 1; r < recipients; ++r) {
                        SmsRecord copy = pool_[first];
                        copy.details().recipients.push_back(all[r]);
                        pool_.push_back(std::move(copy));
                    }
                    pool_[first].details().recipients = std::move(all);
                }
            }
            ++handled;
            report(0.2 + 0.6 * static_cast<double>(handled) / static_cast<double>(total));
        }
        id_count_ += batch.size();
        model_.known_.add(folder, batch);
    }
}

void ChatUpdate::report(double fraction) const {
    if (progress_) progress_->on_progress(fraction);
}
