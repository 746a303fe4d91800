// The chat form. Sections: binding; showing a chat; chat-model events;
// buttons, bubbles and menus; commands; the scroll indicator; helpers.
#include "forms/chat/FormChat.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "chats/ChatModel.h"
#include "chats/PhoneList.h"
#include "forms/AppControl.h"
#include "forms/ChatForms.h"
#include "forms/FormMenu.h"
#include "forms/FormStack.h"
#include "forms/chat/FormLink.h"
#include "forms/chat/SMSItem.h"
#include "messaging/Recipient.h"
#include "platform/Log.h"
#include "platform/Shell.h"
#include "platform/store/MessageFlags.h"
#include "skin/Properties.h"
#include "skin/elements/ButtonElement.h"
#include "skin/elements/TextElement.h"
#include "widgets/edit/EditElement.h"
#include "widgets/edit/NativeEditHost.h"
#include "widgets/list/VListElement.h"
#include "widgets/richtext/RichScanner.h"

namespace {

// Contacts form modes (ChatForms::show_contacts).
constexpr int32_t kContactsWrite = 0;
constexpr int32_t kContactsRecipients = 1;

const std::u16string& display_name(const Chat& chat) {
    return chat.name.empty() ? chat.number : chat.name;
}

}  // namespace

// ---- Binding ----

FormChat::FormChat(Properties& properties, ChatForms& forms) : Form(properties), forms_(forms) {
    if (ChatModel* model = ChatModel::instance()) observing_ = model->add_observer(*this);
    FormChat::load();
}

FormChat::~FormChat() {
    // The dialog goes with the form; the stack must not keep it.
    if (FormStack* stack = FormStack::instance())
        if (link_ && stack->contains(*link_)) stack->remove(*link_, false);
    // The rows go with the tree; the list must not ask this adapter for more.
    if (list_) list_->set_adapter(nullptr, 0);
    if (edit_) edit_->set_listener(nullptr);
}

void FormChat::load() {
    bind_or_throw(u"FormChat");
    title_ = bind_required<TextElement>(u"title");
    type_ = bind_required<TextElement>(u"type");
    symbols_ = bind_required<TextElement>(u"symbols");
    list_ = bind_required<VListElement>(u"list");
    edit_ = bind_required<EditElement>(u"edit");
    bind_required_button(close_, u"btnClose", *this);
    bind_required_button(title_button_, u"btnTitle", *this);
    bind_required_button(copy_, u"btnCopy", *this);
    bind_required_button(menu_button_, u"btnMenu", *this);
    bind_required_button(send_, u"btnSend", *this);
    list_offset_ = bind_required<Element>(u"list_offset");
    scroll_ = bind_required<Element>(u"scroll");
    bind_required_button(scroll_button_, u"scroll_button", *this);
    scroll_indicator_ = bind_required<Element>(u"scroll_indicator");
    // A bubble node without its children is a fault of the skin: found here,
    // where the form's own missing children are, not while the list scrolls.
    SmsRecord probe;
    SMSItem::create(properties(), probe, false, nullptr);
    probe.flags = kMsgFlagFromMe;
    SMSItem::create(properties(), probe, false, nullptr);

    if (!link_) link_ = std::make_unique<FormLink>(properties(), *this);

    shown_range_ = {-1, -1};
    edit_->set_listener(this);
    list_->set_adapter(this, 0);
    if (chat_) {
        refresh();
        edit_->set_text(chat_->text);
    }
    recount();
}

// ---- Showing a chat ----

void FormChat::set_chat(Chat* chat) {
    chat_ = chat;
    selected_ = -1;
    ChatModel* model = ChatModel::instance();
    if (chat_ && model && model->current_chat_key() != chat_->key) model->select_chat(chat_->key);
    refresh();
    take_handover_text();
}

void FormChat::refresh() {
    if (!chat_) {
        title_->set_text(u"");
        type_->set_visible(false);
        list_->set_count(0);
        update_copy_button();
        return;
    }
    title_->set_text(display_name(*chat_));
    type_->set_text(chat_->label);
    type_->set_visible(!chat_->label.empty());
    const int count = static_cast<int>(chat_->size());
    list_->set_count(count);
    list_->scroll_to_end();
    update_copy_button();
}

void FormChat::take_handover_text() {
    ChatModel* model = ChatModel::instance();
    if (model && !model->handover_text().empty()) {
        const std::u16string text = model->handover_text();
        model->set_handover_text(u"");
        edit_->set_text(text);
    } else {
        edit_->set_text(chat_ ? chat_->text : std::u16string());
    }
    recount();
}

void FormChat::update_copy_button() {
    ChatModel* model = ChatModel::instance();
    const std::u16string others =
        model && chat_ ? copy_list(model->phones(), chat_->key) : std::u16string();
    copy_->set_button_text(properties().translate(u"Copy") + u": " + others);
    copy_->set_visible(!others.empty());
}

void FormChat::recount() {
    parts_ = SmsParts::count(edit_->text());
    symbols_->set_text(parts_.text(properties().translate(u"SMS")));
}

void FormChat::text_changed(EditElement& element) {
    recount();
    // Kept with the chat, so that the text waits there while the user is
    // elsewhere.
    if (chat_) chat_->text = element.text();
}

// ---- Chat-model events ----

void FormChat::on_chat_event(const ChatEvent& event) {
    if (!chat_ || event.chat != chat_) return;
    switch (event.kind) {
        case ChatEvent::kChatChanged:
            log() << u"FormChat :" << chat_->name << u" " << chat_->number << u"\n";
            refresh();
            break;
        case ChatEvent::kMessageAdded: {
            list_->insert_row(event.index);
            if (event.index + 1 == list_->count())
                list_->scroll_to_end();
            else
                list_->scroll_to(event.index);
            title_->set_text(display_name(*chat_));
            ChatModel* model = ChatModel::instance();
            // Read on arrival only when the user sees it arrive.
            if (model && chat_->unread > 0 && on_top()) model->mark_chat_read(*chat_);
            break;
        }
        case ChatEvent::kMessageRemoved:
            list_->remove_row(event.index);
            // The heading of the bubble now at index follows its new neighbour.
            list_->refresh_row(event.index);
            break;
        case ChatEvent::kChatInserted:
        case ChatEvent::kChatRemoved:
            break;
    }
}

// ---- Buttons, bubbles and menus ----

void FormChat::clicked(ButtonElement& button, const Click&) {
    if (&button == close_)
        close();
    else if (&button == title_button_)
        show_contact();
    else if (&button == copy_)
        forms_.show_contacts(kContactsRecipients);
    else if (&button == menu_button_)
        open_menu(u"Chat");
    else if (&button == send_)
        send();
}

void FormChat::state_changed(ButtonElement&, const StateChange&) {}

void FormChat::dragged(ButtonElement& button, Drag& info) {
    if (&button == scroll_button_) scroll_to_fraction(info.y);
}

std::unique_ptr<Element> FormChat::create_row(VListElement&, int index) {
    ChatModel* model = ChatModel::instance();
    if (!chat_ || !model || !message_index_valid(index)) return nullptr;
    SmsRecord& record = chat_->message(static_cast<size_t>(index));
    if (!model->load_sms(record)) {
        // No bubble; an empty row keeps the list's rows and the chat's
        // messages at the same indices, so a tap still names its message.
        log() << u"FormChat: message " << index << u" can't be read\n";
        return std::make_unique<Element>();
    }
    bool show_day = true;
    if (index > 0) {
        SmsRecord& previous = chat_->message(static_cast<size_t>(index - 1));
        if (model->load_sms(previous)) show_day = previous.date_text() != record.date_text();
    }
    return SMSItem::create(properties(), record, show_day, this);
}

void FormChat::row_tapped(VListElement&, int index) {
    if (!message_index_valid(index)) return;
    selected_ = index;
    open_menu(u"SMS");
}

void FormChat::open_menu(const std::u16string& key) {
    if (!menu_) menu_ = std::make_unique<FormMenu>(properties(), *this);
    menu_->open(key, u"", true);
}

void FormChat::fill(const std::u16string&, const std::u16string& key, std::u16string&,
                    std::vector<MenuEntry>& entries) {
    if (key == u"Chat") {
        fill_chat_menu(entries);
    } else if (key == u"SMS") {
        for (const char16_t* entry : {u"DeleteSMS", u"Forward", u"Resend", u"Cancel"})
            entries.push_back({entry});
    } else if (key == u"DeleteChat") {
        entries.push_back({u"ReallyDeleteChat", u"", u"", u"MenuElementRed"});
        entries.push_back({u"Cancel"});
    } else if (key == u"Recipients") {
        forms_.show_contacts(kContactsRecipients);
    } else if (key == u"ShowContact") {
        show_contact();
    } else if (key == u"SendContact") {
        forms_.show_contacts(kContactsWrite);
    } else if (key == u"Templates") {
        forms_.show_templates(true);
    } else if (key == u"Minimize") {
        app_control::minimise();
    } else if (key == u"ReallyDeleteChat") {
        delete_chat();
    } else if (key == u"DeleteSMS") {
        delete_message(selected_);
    } else if (key == u"Forward") {
        forward_message(selected_);
    } else if (key == u"Resend") {
        resend_message(selected_);
    }
}

void FormChat::fill_chat_menu(std::vector<MenuEntry>& entries) {
    ChatModel* model = ChatModel::instance();
    // Recipients beyond the chat's own make the entry one of changing them.
    const bool others = model && chat_ && !copy_list(model->phones(), chat_->key).empty();
    const bool contact = chat_ && chat_->contact_id >= 0;
    auto text = [&](const char16_t* key) { return properties().translate(key); };
    entries.push_back({u"Recipients", text(others ? u"ModifyRecipients" : u"AddRecipients")});
    entries.push_back({u"ShowContact", text(contact ? u"ViewContact" : u"AddContact")});
    for (const char16_t* entry :
         {u"SendContact", u"Templates", u"DeleteChat", u"Minimize", u"Cancel"})
        entries.push_back({entry});
}

void FormChat::dialog_closed(FormDialog&, ButtonElement& button) {
    const char16_t* page = nullptr;
    if (&button == link_->install_button())
        page = u"InstallMoodcardLink";
    else if (&button == link_->about_button())
        page = u"AboutMoodcardLink";
    if (!page) return;
    app_control::mark_backgrounded();
    shell::execute_file(properties().translate(page), u"");
}

void FormChat::link_pressed(std::u16string_view link, RichTextPiece&) { open_link(link); }

// ---- Commands ----

bool FormChat::send() {
    ChatModel* model = ChatModel::instance();
    const std::u16string body = edit_->text();
    if (body.empty() || !model) return false;
    const std::vector<Recipient> to = recipients(model->phones());
    log() << u"send sms recipients:" << static_cast<int>(to.size()) << u" body:" << body << u"\n";
    bool sent = false;
    if (to.empty()) {
        // A message for nobody would wait in the Outbox for ever.
        log() << u"send sms: no recipients\n";
    } else {
        sent = model->store().send_sms(to, body);
    }
    if (sent) {
        shell::execute_file(u"%windows%/tmail.exe", u"-RunInBKG");
        edit_->set_text(u"");
        recount();
    }
    log() << u"after send\n";
    if (NativeEditHost* host = NativeEditHost::current()) host->bind_native_edit(nullptr, false);
    return sent;
}

void FormChat::delete_message(int32_t index) {
    ChatModel* model = ChatModel::instance();
    if (!model || !message_index_valid(index)) return;
    const size_t at = static_cast<size_t>(index);
    // The bubble stays while the store keeps the message: a message that
    // is gone already leaves the chat with the next update anyway.
    if (!model->delete_message(chat_->message(at))) {
        log() << u"FormChat: DeleteSMS failed\n";
        return;
    }
    chat_->erase(at);
    selected_ = -1;
    model->save_cache();
    model->publish({ChatEvent::kMessageRemoved, index, chat_});
}

void FormChat::forward_message(int32_t index) {
    ChatModel* model = ChatModel::instance();
    if (!model || !message_index_valid(index)) return;
    SmsRecord& record = chat_->message(static_cast<size_t>(index));
    if (!model->load_sms(record)) return;
    model->set_handover_text(record.body());
    close();
}

void FormChat::resend_message(int32_t index) {
    ChatModel* model = ChatModel::instance();
    if (!model || !message_index_valid(index)) return;
    SmsRecord& record = chat_->message(static_cast<size_t>(index));
    if (!model->load_sms(record)) return;
    // When the native box is bound, the element brings it up to date.
    edit_->set_text(record.body());
    recount();
}

void FormChat::delete_chat() {
    ChatModel* model = ChatModel::instance();
    if (!model || !chat_) return;
    Chat* doomed = chat_;
    chat_ = nullptr;
    list_->set_count(0);
    model->delete_chat(doomed);
    close();
}

void FormChat::close() {
    ChatModel* model = ChatModel::instance();
    if (model && chat_ && chat_->empty()) {
        // A new conversation never sent leaves no chat behind.
        Chat* doomed = chat_;
        chat_ = nullptr;
        model->delete_chat(doomed);
    }
    if (model) model->select_chat(u"");
    if (FormStack* stack = FormStack::instance()) stack->remove(*this, true);
    // A closed form follows no chat: the model may drop it from now on.
    chat_ = nullptr;
    selected_ = -1;
    list_->set_count(0);
}

void FormChat::show_contact() {
    if (!chat_) return;
    const std::u16string moodcard = shell::installed_app_path(u"Zelvor Moodcard", u"Moodcard.exe");
    if (!moodcard.empty()) {
        log() << u"Moodcard path:" << moodcard << u"\n";
        app_control::mark_backgrounded();
        shell::execute_file(moodcard, u"open:" + chat_->number);
        return;
    }
    if (chat_->contact_id >= 0) {
        // The desktop's address book shows the contact's own vCard file.
        ChatModel* model = ChatModel::instance();
        std::u16string file = model ? model->contacts().contact_file(chat_->contact_id) : u"";
        if (!file.empty()) {
            app_control::mark_backgrounded();
            shell::execute_file(file, u"");
            return;
        }
    }
    if (TextElement* text = link_->text()) text->set_text(properties().translate(u"NoMoodcard"));
    link_->install_button()->set_button_text(properties().translate(u"InstallMoodcard"));
    link_->about_button()->set_button_text(properties().translate(u"AboutMoodcard"));
    if (FormStack* stack = FormStack::instance()) stack->push(*link_, true, true);
}

void FormChat::open_link(std::u16string_view link) {
    app_control::mark_backgrounded();
    // The scanner took it for a link or a number; a number is no link.
    if (!RichScanner::is_link(link))
        shell::make_call(link);
    else if (link.find(u'@') != std::u16string_view::npos)
        shell::execute_file(u"%windows%/tmail.exe", u"mailto:" + std::u16string(link));
    else
        shell::execute_file(u"%windows%/iexplore.exe", link);
}

// ---- The scroll indicator ----

void FormChat::time_step(double seconds) {
    Form::time_step(seconds);
    list_->set_scroll_border_min(list_offset_->size().height);
    const std::pair<double, double> range = list_->visible_range();
    if (range != shown_range_) {
        shown_range_ = range;
        place_indicator();
        mark_redraw();
    }
}

void FormChat::arrange_y() {
    Form::arrange_y();
    // Layout put the indicator where the skin has it; it belongs where the
    // list stands.
    if (shown_range_.first >= 0) place_indicator();
}

void FormChat::place_indicator() {
    const Point track_top = scroll_->position();
    const int32_t track = scroll_->size().height;
    if (track <= 0) return;
    const auto [start, end] = shown_range_;
    // A chat that fits on the screen has nothing to scroll: no thumb.
    const bool whole = start <= 0.0 && end >= 1.0;
    if (scroll_indicator_->visible() == whole) scroll_indicator_->set_visible(!whole);
    if (whole) return;
    // Never thinner than it is wide, so that a long chat keeps a thumb to see.
    const int32_t min_height = std::clamp(scroll_indicator_->size().width, 1, track);
    const int32_t height =
        std::clamp(static_cast<int32_t>(std::lround((end - start) * track)), min_height, track);
    const int32_t top = std::clamp(track_top.y + static_cast<int32_t>(std::lround(start * track)),
                                   track_top.y, track_top.y + track - height);
    scroll_indicator_->set_y_extent(top, height);
}

void FormChat::scroll_to_fraction(int32_t y) {
    const int32_t track_top = scroll_->position().y;
    const int32_t track = scroll_->size().height;
    const int count = list_->count();
    if (track <= 0 || count <= 0) return;
    const double fraction = std::clamp(static_cast<double>(y - track_top) / track, 0.0, 1.0);
    list_->scroll_to(std::min(static_cast<int>(fraction * count), count - 1));
}

// ---- Helpers ----

bool FormChat::message_index_valid(int32_t index) const {
    return chat_ && index >= 0 && static_cast<size_t>(index) < chat_->size();
}

bool FormChat::on_top() const {
    FormStack* stack = FormStack::instance();
    return stack && stack->top() == this;
}

std::vector<Recipient> FormChat::recipients(const PhoneList& phones) {
    std::vector<Recipient> out;
    for (const PhoneEntry& entry : phones.entries()) {
        if (!entry.selected) continue;
        // An entry named by its own number (or a piece of it) has no name to send.
        const bool named = entry.number.find(entry.name) == std::u16string::npos;
        out.push_back({named ? entry.name : std::u16string(), entry.number});
    }
    return out;
}

std::u16string FormChat::copy_list(const PhoneList& phones, const std::u16string& chat_key) {
    std::u16string out;
    for (const PhoneEntry& entry : phones.entries()) {
        if (!entry.selected || entry.key == chat_key) continue;
        if (!out.empty()) out += u"; ";
        if (entry.name.empty()) {
            out += entry.number;
        } else {
            out += entry.name;
            if (!entry.label.empty()) out += u" " + entry.label;
        }
    }
    return out;
}
