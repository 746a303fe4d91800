// The chat model.
//
//   construction and start ........... system settings, cache
//   contacts
//   update_chats ..................... ChatUpdate (scans, walks, Outbox,
//                                      messages gone, reading) and ChatFiling
//   operations of the forms .......... load_sms, delete, mark read, observers
#include "chats/ChatModel.h"

#include <memory>

#include "chats/ChatCache.h"
#include "chats/ChatKey.h"
#include "chats/ChatUpdate.h"
#include "messaging/AppNotification.h"
#include "platform/LocaleFormat.h"
#include "platform/Log.h"
#include "platform/Registry.h"
#include "platform/Stopwatch.h"

namespace {

constexpr char16_t kInboxSettingsKey[] =
    u"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Inbox\\Settings";
constexpr char16_t kSmsNotificationKey[] =
    u"HKEY_CURRENT_USER\\ControlPanel\\Notifications\\{A877D65B-239C-47a7-9304-0D347F580408}";
constexpr uint32_t kOptionsBit = 0x8;

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
    Stopwatch clock;
    update_chats(false, progress);
    log() << u"update_chats time:" << clock.elapsed_ms() << u"\n";
    load_contacts();
}

// --- Contacts ------------------------------------------------------------------

void ChatModel::load_contacts() {
    Stopwatch clock;
    // Following the changes starts before the reading, so that a card written
    // meanwhile is reported rather than missed; reporting one already read
    // only adds its numbers again.
    contacts_.subscribe();
    for (const ContactRecord& contact : contacts_.all_contacts()) phones_.add_contact(contact);
    link_chats();
    log() << u"load_contacts time:" << clock.elapsed_ms() << u"\n";
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
    Stopwatch clock;
    if (!ChatCache::read(ChatCache::default_path(), chats_)) return false;
    known_.rebuild(chats_);
    log() << u"load_cache success:" << chats_.size() << u" chats time:" << clock.elapsed_ms()
          << u"\n";
    return true;
}

// --- update_chats --------------------------------------------------------------

bool ChatModel::update_chats(bool notify, ProgressListener* progress) {
    return ChatUpdate(*this, notify, progress).run();
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
    SmsDetails& details = record.details();
    details.time_text = locale_format::format_time(record.time);
    details.date_text = locale_format::format_long_date(record.time);
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
        // The records already read keep their flags until read again: the
        // bubbles shown from them must not go on saying "unread".
        if (store_->set_sms_read(chat.messages(), true))
            for (size_t i = 0; i < chat.size(); ++i)
                if (chat.message(i).incoming()) chat.message(i).flags |= kMsgFlagRead;
        write_unread_total();
    }
    save_cache();
}

Chat& ChatModel::insert_chat(std::unique_ptr<Chat> chat) {
    // A message is sent to the selected entries of the phone list: a number
    // typed by hand needs its entry now, not at the next update, or its new
    // chat could send to nobody.
    if (!chat->key.empty() && phones_.find(chat->key) < 0)
        phones_.add(
            PhoneEntry{chat->name, chat->number, chat->label, chat->key, chat->contact_id, 0});
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
