#pragma once
// The chat model: the store's messages grouped into one Chat per
// correspondent (by chat key), the chats ordered with the most recent
// conversation first. It keeps only entry ids until a message is shown, starts
// from the chat cache file and then catches up with the store incrementally,
// telling its observers about every change. There is one model per process.
//
// Single-threaded: used on the user-interface thread only.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "chats/Chat.h"
#include "chats/ChatEvent.h"
#include "chats/ChatObserver.h"
#include "chats/ContactsDirectory.h"
#include "chats/ContactsListener.h"
#include "chats/KnownIds.h"
#include "chats/PhoneList.h"
#include "chats/ProgressListener.h"
#include "messaging/EntryId.h"
#include "messaging/SmsRecord.h"
#include "messaging/sms_manager.h"
#include "platform/ListenerList.h"
#include "platform/Singleton.h"
#include "platform/Subscription.h"

class ChatModel : public Singleton<ChatModel>, private ContactsListener {
public:
    using ChatList = std::vector<std::unique_ptr<Chat>>;

    // The program's settings key ("Alerts", "Unread").
    static constexpr char16_t kSettingsKey[] = u"HKEY_CURRENT_USER\\Software\\Zelvor\\Quillmo";

    // Opens the store, reads "Alerts" and loads the chat cache (a cache that
    // does not load leaves the model empty, and the first update reads
    // everything). Writes nothing: until start(), the model only reads, so
    // that a tool may list the chats of a device without touching it.
    ChatModel();
    // After start(): withdraws the new-message notification when alerts are
    // off.
    ~ChatModel();

    // Makes this the program's model: renews the system settings and the
    // new-message notification request, and from now on writes the unread
    // total ("Unread") and the cache whenever the chats change. Only the
    // program calls it, once, before its start-up load; later calls do
    // nothing.
    void start();
    bool started() const { return started_; }

    // The start-up load: update_chats(false, progress), timed in the log,
    // then the contacts (load_contacts).
    void load(ProgressListener* progress);

    // Reads every contact into the phone list, links the chats and starts
    // following the address book's changes; timed as "load_contacts time:".
    void load_contacts();
    // Gives each chat the name and label of the phone-list entry of its key
    // (kind 2 when they change); a chat no entry matches adds its own entry.
    void link_chats();
    // One poll of the running program: the address book's changes, then
    // update_chats(true), then linking when the update changed something.
    // True when the update changed something.
    bool poll();
    // The contact name for a new message's sender: the contact found for the
    // number, when one of its mobile, business or home numbers has the
    // number's key; else empty.
    std::u16string resolve_sender_name(const std::u16string& number);

    ContactsDirectory& contacts() { return contacts_; }
    PhoneList& phones() { return phones_; }
    // Remembers the key of the chat the chat form shows (empty when it
    // closes) and marks and sorts the phone list for it.
    void select_chat(const std::u16string& key);
    // Position of the phone entry of the entry's key, added when missing.
    size_t find_or_add(PhoneEntry entry) { return phones_.find_or_add(std::move(entry)); }

    // Brings the chats up to date with the store. notify: whether observers
    // hear of the changes; progress may be null. New messages are filed; the
    // messages that left the store (from any folder, however they went) leave
    // their chats (kind 6), and a chat they leave empty leaves the list
    // (kind 3) unless it is the current chat. A message leaves only when a
    // whole read of its folder, in one state of the store, missed it: a
    // folder the store fails to read loses nothing, and a later update reads
    // it again. True when anything changed (a started model then writes the
    // unread total and the cache). Observers see the new records whole;
    // afterwards they keep only their id and folder, like records from the
    // cache, until load_sms reads them again.
    bool update_chats(bool notify, ProgressListener* progress);

    // Makes sure a record is read from the store and has its time and date
    // texts. False when it has no id or cannot be read.
    bool load_sms(SmsRecord& record);

    // Deletes the message from the store and forgets its id (folders 0..2).
    // The caller erases the record from its chat, saves the cache and
    // publishes kind 6.
    bool delete_message(const SmsRecord& record);

    // Deletes every message of the chat from the store, takes the chat out of
    // the list, writes the unread total, saves the cache and publishes kind 3.
    // The chat is destroyed on return. Also used to drop a chat that has no
    // messages.
    void delete_chat(Chat* chat);

    // Sets the chat's unread count to 0 and marks its messages read in the
    // store when it had unread ones; saves the cache in any case.
    void mark_chat_read(Chat& chat);

    // A chat made outside an update (a new conversation): put at the top of
    // the list, published as kind 1. Its number joins the phone list when it
    // is not there, so that the chat can be selected as a recipient.
    Chat& insert_chat(std::unique_ptr<Chat> chat);
    // The chat with this key, or null.
    Chat* find_chat(std::u16string_view key) const;
    // Position of the chat in the list, or -1.
    int32_t index_of(const Chat* chat) const;

    // The newest unread incoming message of the last update (alerts on), handed
    // over; null when there is none. The model forgets it.
    std::unique_ptr<SmsRecord> take_pending_message();
    const SmsRecord* pending_message() const { return pending_.get(); }

    // Registers an observer (not owned) for as long as the returned handle
    // lives; it may be ended while events are being told.
    [[nodiscard]] Subscription add_observer(ChatObserver& observer) {
        return observers_.add(observer);
    }
    // Tells every observer, in the order they were added.
    void publish(const ChatEvent& event);

    // Writes the cache file; does nothing before start().
    void save_cache();
    bool load_cache();
    // Sum of the chats' unread counts, and its "Unread" setting (written only
    // after start()).
    int64_t unread_total() const;
    void write_unread_total();

    const ChatList& chats() const { return chats_; }
    sms_manager& store() { return *store_; }
    // Ids the model knows in a folder, sorted; folder is a FolderIndex, 0..3.
    const std::vector<EntryId>& folder_index(int32_t folder) const { return known_.ids(folder); }

    bool first_update() const { return first_update_; }
    // True marks the next update as the first of a run (logged as such):
    // folders with no known ids are then walked at once.
    void set_first_update(bool value) { first_update_ = value; }
    bool alerts() const { return alerts_; }
    // The field only; whoever toggles it stores "Alerts" too.
    void set_alerts(bool value) { alerts_ = value; }

    const std::u16string& current_chat_key() const { return current_chat_key_; }
    void set_current_chat_key(std::u16string key) { current_chat_key_ = std::move(key); }
    // Text left for the chat form's edit field (a forwarded body, a template).
    const std::u16string& handover_text() const { return handover_text_; }
    void set_handover_text(std::u16string text) { handover_text_ = std::move(text); }

private:
    // The update and the filing of its records are parts of the model kept in
    // files of their own; they change its state directly.
    friend class ChatUpdate;
    friend class ChatFiling;

    void on_contact_added(ContactsDirectory& directory, const ContactRecord& contact) override;
    void on_contacts_progress(ContactsDirectory&, size_t, size_t) override {}
    void on_contact_changed(ContactsDirectory& directory, int32_t id) override;
    void on_contact_removed(ContactsDirectory& directory, int32_t id) override;

    static void set_display_texts(SmsRecord& record);

    ListenerList<ChatObserver> observers_;
    std::unique_ptr<sms_manager> store_;
    ChatList chats_;
    KnownIds known_;
    std::unique_ptr<SmsRecord> pending_;
    bool first_update_ = true;
    bool alerts_ = true;
    bool started_ = false;
    std::u16string current_chat_key_;
    std::u16string handover_text_;
    ContactsDirectory contacts_{this};
    PhoneList phones_;
};
