#include "forms/templates/FormTemplates.h"

#include "chats/ChatModel.h"
#include "chats/TemplatesStore.h"
#include "forms/ChatForms.h"
#include "forms/FormMenu.h"
#include "forms/FormStack.h"
#include "forms/templates/TemplateItem.h"
#include "platform/Log.h"
#include "skin/Properties.h"
#include "widgets/edit/EditElement.h"
#include "widgets/edit/NativeEditHost.h"
#include "widgets/list/VListElement.h"

namespace {

void remove_animated(Form& form) {
    if (FormStack* stack = FormStack::instance()) stack->remove(form, true);
}

}  // namespace

FormTemplates::FormTemplates(Properties& properties, ChatForms& forms)
    : Form(properties), forms_(forms) {
    FormTemplates::load();
}

FormTemplates::~FormTemplates() {
    if (menu_) menu_->close();
}

void FormTemplates::load() {
    bind_or_throw(u"FormTemplates");
    bind_required_button(close_, u"btnClose", *this);
    bind_required_button(add_, u"btnAdd", *this);
    list_ = bind_required<VListElement>(u"list");
    edit_ = bind_required<EditElement>(u"edit");

    // A reload (another language) brings that language's defaults.
    TemplatesStore::Templates loaded = TemplatesStore::load(properties().dictionary());
    templates_ = std::move(loaded.list);
    user_count_ = loaded.user_count;
    selected_ = -1;
    list_->set_adapter(this, static_cast<int>(templates_.size()));
}

std::unique_ptr<Element> FormTemplates::create_row(VListElement&, int index) {
    if (index < 0 || static_cast<size_t>(index) >= templates_.size()) return nullptr;
    return TemplateItem::create(properties(), templates_[static_cast<size_t>(index)]);
}

void FormTemplates::row_tapped(VListElement&, int index) {
    if (index < 0 || static_cast<size_t>(index) >= templates_.size()) return;
    selected_ = index;
    if (!insert_mode_) {
        open_menu(kMenuKey);
        return;
    }
    if (ChatModel* model = ChatModel::instance())
        model->set_handover_text(templates_[static_cast<size_t>(index)]);
    forms_.chat_take_handover();
    remove_animated(*this);
}

void FormTemplates::open_menu(const std::u16string& key) {
    if (!menu_) menu_ = std::make_unique<FormMenu>(properties(), *this, kMenuKey);
    menu_->open(key, u"", true);
}

void FormTemplates::fill(const std::u16string&, const std::u16string& key, std::u16string&,
                         std::vector<MenuEntry>& entries) {
    if (key == kMenuKey) {
        if (selected_ >= 0 && static_cast<size_t>(selected_) < user_count_)
            entries.push_back({u"Delete"});
        entries.push_back({u"Send"});
        entries.push_back({u"Cancel"});
    } else if (key == kRefusedKey) {
        entries.push_back({u"Cancel"});
    } else if (key == u"Delete") {
        delete_selected();
    } else if (key == u"Send") {
        send_selected();
    }
}

void FormTemplates::delete_selected() {
    if (selected_ < 0 || static_cast<size_t>(selected_) >= user_count_) return;
    templates_.erase(templates_.begin() + selected_);
    list_->remove_row(selected_);
    --user_count_;
    selected_ = -1;
    store();
}

void FormTemplates::send_selected() {
    if (selected_ < 0 || static_cast<size_t>(selected_) >= templates_.size()) return;
    if (ChatModel* model = ChatModel::instance())
        model->set_handover_text(templates_[static_cast<size_t>(selected_)]);
    // The menu goes first, so that the contacts form comes up over this form
    // rather than over the menu.
    menu_->close();
    forms_.show_contacts(0);
    remove_animated(*this);
}

void FormTemplates::clicked(ButtonElement& button, const Click&) {
    if (&button == close_) {
        remove_animated(*this);
    } else if (&button == add_) {
        add_typed_template();
    }
}

void FormTemplates::add_typed_template() {
    const std::u16string text = edit_->text();
    if (!text.empty() && !TemplatesStore::storable(text)) {
        // The stored form would split it in two; the typed text stays for the
        // user to change.
        log() << u"FormTemplates: template with \"/\" refused\n";
        open_menu(kRefusedKey);
        return;
    }
    if (!text.empty()) {
        templates_.insert(templates_.begin(), text);
        list_->insert_row(0);
        list_->scroll_to(0);
        ++user_count_;
        if (selected_ >= 0) ++selected_;
        store();
    }
    close_edit();
}

void FormTemplates::close_edit() {
    edit_->set_text(u"");
    if (auto* host = NativeEditHost::current()) host->bind_native_edit(nullptr, false);
}

void FormTemplates::store() const { TemplatesStore::save(templates_, user_count_); }

void FormTemplates::state_changed(ButtonElement&, const StateChange&) {}

void FormTemplates::dragged(ButtonElement&, Drag&) {}
