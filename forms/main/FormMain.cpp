#include "forms/main/FormMain.h"

#include <exception>

#include "chats/ChatKey.h"
#include "chats/ChatModel.h"
#include "forms/AppControl.h"
#include "forms/FormMenu.h"
#include "forms/FormStack.h"
#include "forms/chat/FormChat.h"
#include "forms/contacts/FormContacts.h"
#include "forms/main/ChatItem.h"
#include "forms/main/LanguageMenu.h"
#include "forms/main/ReloadOverlay.h"
#include "forms/main/SkinMenu.h"
#include "forms/templates/FormTemplates.h"
#include "messaging/sms_manager.h"
#include "platform/Log.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "skin/NodeNotFoundInSkin.h"
#include "skin/Properties.h"
#include "widgets/list/VListElement.h"

namespace {

ChatModel& model() { return *ChatModel::instance(); }

// Shows form as a full form on top, taking it off the stack first when it is
// somewhere below.
void push_on_top(Form& form) {
    FormStack* stack = FormStack::instance();
    if (!stack) return;
    if (stack->contains(form)) stack->remove(form, false);
    stack->push(form, false, true);
}

void take_off(Form* form) {
    if (form && FormStack::instance()) FormStack::instance()->remove(*form, false);
}

}  // namespace

FormMain::FormMain(Properties& properties)
    : Form(properties),
      chat_subscription_(model().add_observer(*this)),
      reload_(std::make_unique<ReloadOverlay>(properties)) {
    FormMain::load();
}

FormMain::~FormMain() {
    // The stack never keeps a form that goes.
    take_off(menu_.get());
    take_off(reload_.get());
    take_off(templates_.get());
    take_off(contacts_.get());
    take_off(chat_.get());
    chat_subscription_ = {};
}

void FormMain::load() {
    bind_or_throw(u"FormMain");
    bind_required_button(new_, u"btnNew", *this);
    bind_required_button(menu_button_, u"btnMenu", *this);
    list_ = bind_required<VListElement>(u"list");
    // The rows are made later, one at a time; a skin without their node is
    // told now, while the program starts, rather than by an empty list.
    if (!properties().find_node(u"ChatItem")) throw NodeNotFoundInSkin(u"ChatItem");
    // The owned forms rebuild themselves on a reload (they listen to the same
    // properties); they are made once, so that a reload keeps their state.
    if (!chat_) chat_ = std::make_unique<FormChat>(properties(), *this);
    if (!contacts_) contacts_ = std::make_unique<FormContacts>(properties(), *this);
    if (!templates_) templates_ = std::make_unique<FormTemplates>(properties(), *this);
    list_->set_adapter(this, static_cast<int>(model().chats().size()));
}

// ---- ChatForms ----

void FormMain::show_contacts(int32_t mode) {
    contacts_->set_mode(static_cast<FormContacts::Mode>(mode));
    push_on_top(*contacts_);
}

void FormMain::show_templates(bool insert_mode) {
    templates_->set_insert_mode(insert_mode);
    push_on_top(*templates_);
}

void FormMain::chat_take_handover() { chat_->take_handover_text(); }

void FormMain::chat_refresh() { chat_->refresh(); }

void FormMain::open_chat(const PhoneEntry& recipient) {
    ChatModel& chats = model();
    std::u16string key =
        recipient.key.empty() ? correspondent_key(recipient.name, recipient.number) : recipient.key;
    if (key.empty()) return;
    Chat* chat = chats.find_chat(key);
    if (!chat) {
        auto made = std::make_unique<Chat>(ChatIdentity{recipient.name, recipient.number, key});
        made->label = recipient.label;
        made->contact_id = recipient.contact_id;
        chat = &chats.insert_chat(std::move(made));
    }
    if (chat->name.empty() && !recipient.name.empty()) chat->name = recipient.name;
    // Marks its messages read (when it has unread ones) and saves the cache.
    chats.mark_chat_read(*chat);
    if (int32_t index = chats.index_of(chat); index >= 0) list_->refresh_row(index);
    chats.select_chat(chat->key);
    chat_->set_chat(chat);
    push_on_top(*chat_);
}

void FormMain::contact_chosen(const PhoneEntry& recipient) {
    FormStack* stack = FormStack::instance();
    if (!stack || !stack->contains(*chat_)) {
        open_chat(recipient);
        return;
    }
    // Writing in a chat: the contact goes into the message as text.
    model().set_handover_text(contact_text(recipient));
    take_off(contacts_.get());
    chat_->take_handover_text();
}

std::u16string FormMain::contact_text(const PhoneEntry& contact) {
    const std::u16string& name = contact.name;
    const std::u16string& number = contact.number;
    if (!name.empty() && !number.empty() && name.find(number) == std::u16string::npos &&
        number.find(name) == std::u16string::npos)
        return name + u" " + number;
    return name.size() > number.size() ? name : number;
}

// ---- The chat model ----

void FormMain::on_chat_event(const ChatEvent& event) {
    if (making_row_) return;
    if (event.kind != ChatEvent::kChatInserted) inserted_run_end_ = -1;
    switch (event.kind) {
        case ChatEvent::kChatInserted:
            list_->insert_row(event.index);
            // An update that brings several new chats inserts them at 0, 1,
            // 2...: the list goes to the first of them, the newest, and the
            // others follow below it. Going to each in turn would leave the
            // newest above the screen.
            if (event.index != inserted_run_end_) list_->scroll_to(event.index);
            inserted_run_end_ = event.index + 1;
            return;
        case ChatEvent::kChatChanged:
            log() << u"FormMain::on_document_refresh:" << event.index << u"\n";
            list_->refresh_row(event.index);
            break;
        case ChatEvent::kChatRemoved:
            list_->remove_row(event.index);
            break;
        case ChatEvent::kMessageRemoved:
            if (int32_t index = model().index_of(event.chat); index >= 0) list_->refresh_row(index);
            break;
        case ChatEvent::kMessageAdded:
            break;
    }
}

// ---- The list ----

bool FormMain::drop_vanished(int index) {
    ChatModel& chats = model();
    Chat& chat = *chats.chats()[static_cast<size_t>(index)];
    bool dropped = false;
    while (!chat.empty()) {
        size_t last = chat.size() - 1;
        uint64_t errors = sms_manager::store_errors();
        if (chats.load_sms(chat.message(last))) break;
        // A store that failed (busy, damaged, gone) says nothing about the
        // message: it stays, and the row shows what is known of it.
        if (sms_manager::store_errors() != errors) break;
        chat.erase(last);
        dropped = true;
        chats.publish({ChatEvent::kMessageRemoved, static_cast<int32_t>(last), &chat});
    }
    if (chat.empty()) {
        chats.delete_chat(&chat);
        return false;
    }
    if (dropped) chats.save_cache();
    return true;
}

std::unique_ptr<Element> FormMain::create_row(VListElement&, int index) {
    if (index < 0 || static_cast<size_t>(index) >= model().chats().size()) return nullptr;
    making_row_ = true;
    bool kept = drop_vanished(index);
    making_row_ = false;
    if (!kept) return nullptr;
    try {
        return std::make_unique<ChatItem>(properties(),
                                          *model().chats()[static_cast<size_t>(index)]);
    } catch (const std::exception&) {
        log() << u"Error: a ChatItem row cannot be built\n";
        return nullptr;
    }
}

void FormMain::row_tapped(VListElement&, int index) {
    if (index < 0 || static_cast<size_t>(index) >= model().chats().size()) return;
    const Chat& chat = *model().chats()[static_cast<size_t>(index)];
    PhoneEntry recipient;
    recipient.name = chat.name;
    recipient.number = chat.number;
    recipient.label = chat.label;
    recipient.key = chat.key;
    recipient.contact_id = chat.contact_id;
    open_chat(recipient);
}

// ---- Buttons and the menu ----

void FormMain::clicked(ButtonElement& button, const Click&) {
    if (&button == new_) {
        model().phones().select(model().current_chat_key());
        show_contacts(FormContacts::kWrite);
    } else if (&button == menu_button_) {
        if (!menu_) menu_ = std::make_unique<FormMenu>(properties(), *this);
        menu_->open(u"MainMenu", u"", true);
    }
}

void FormMain::state_changed(ButtonElement&, const StateChange&) {}

void FormMain::dragged(ButtonElement&, Drag&) {}

std::vector<MenuEntry> FormMain::main_menu(bool alerts, bool languages, bool skins) {
    std::vector<MenuEntry> entries;
    auto add = [&entries](std::u16string_view key) -> MenuEntry& {
        entries.push_back({std::u16string(key), u""});
        return entries.back();
    };
    add(MenuEntry::kButtonRow).row_node = u"MenuElement4Buttons";
    add(u"Alerts").checked = alerts;
    add(u"Templates");
    if (languages) add(LanguageMenu::kKey);
    if (skins) add(SkinMenu::kKey);
    add(u"Cancel");
    return entries;
}

void FormMain::fill(const std::u16string&, const std::u16string& key, std::u16string&,
                    std::vector<MenuEntry>& entries) {
    if (key == u"MainMenu") {
        entries = main_menu(model().alerts(), LanguageMenu::offered(), SkinMenu::offered());
        return;
    }
    bool switched = LanguageMenu::fill(properties(), key, entries);
    if (!switched && entries.empty()) {
        std::u16string skin_before = properties().skin_path();
        switched = SkinMenu::fill(properties(), key, entries);
        if (switched) reload_->set_previous_skin(std::move(skin_before));
    }
    if (switched) {
        // Every form rebuilds behind the dimmed screen, on the next frame.
        if (FormStack* stack = FormStack::instance()) stack->push(*reload_, true, false);
        return;
    }
    if (entries.empty()) command(key);
}

void FormMain::command(const std::u16string& key) {
    if (key == u"Alerts") {
        bool alerts = !model().alerts();
        model().set_alerts(alerts);
        registry::write_number(RegistryPath(ChatModel::kSettingsKey), u"Alerts", alerts ? 1 : 0);
    } else if (key == u"Templates") {
        show_templates(false);
    } else if (key == u"Help") {
        open_help();
    } else if (key == u"Minimize") {
        app_control::minimise();
    } else if (key == u"Exit") {
        app_control::post_quit();
    }
}

void FormMain::open_help() {
    // The page's file name comes from the language file: a name, never a path.
    std::u16string page = properties().translate(u"Help_link");
    if (page.empty() || page.find_first_of(std::u16string_view(u"/\\\0", 3)) != page.npos ||
        page.starts_with(u".")) {
        log() << u"FormMain: no help page for this language\n";
        return;
    }
    app_control::mark_backgrounded();
    shell::execute_file(u"%app_path%/help/" + page, u"");
}
