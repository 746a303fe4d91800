#include "forms/contacts/FormContacts.h"

#include <algorithm>

#include "chats/ChatModel.h"
#include "chats/PhoneList.h"
#include "forms/ChatForms.h"
#include "forms/FormStack.h"
#include "forms/contacts/ContactItem.h"
#include "skin/Properties.h"
#include "skin/elements/TableElement.h"
#include "skin/elements/TextElement.h"
#include "widgets/edit/EditElement.h"
#include "widgets/list/VListElement.h"

FormContacts::FormContacts(Properties& properties, ChatForms& forms)
    : Form(properties), forms_(forms) {
    FormContacts::load();
}

FormContacts::~FormContacts() { ruler_.unbind(); }

void FormContacts::load() {
    // The ruler's parts go with the old tree.
    ruler_.unbind();
    bind_or_throw(u"FormContacts");
    title_ = bind_required<TextElement>(u"title");
    list_ = bind_required<VListElement>(u"list");
    edit_ = bind_required<EditElement>(u"edit");
    bind_required_button(close_, u"btnClose", *this);
    bind_required_button(write_, u"btnWrite", *this);
    bind_required_button(add_, u"btnAdd", *this);
    hint_ = bind_required<Element>(u"hint");
    bind_required_button(ruler_button_, u"ruler_button", *this);
    bind_button(ruler_button2_, u"ruler_button2", *this);
    auto* table = bind_required<TableElement>(u"ruler_table");
    ContactItem::check_node(properties());

    ruler_.bind(properties(), *ruler_button_, ruler_button2_, *table);
    list_->set_adapter(this, 0);
    clear_filter();
    edit_->set_listener(this);
    rebuild();
}

void FormContacts::set_mode(Mode mode) {
    mode_ = mode;
    clear_filter();
    rebuild();
}

ButtonElement* FormContacts::action_button() const { return mode_ == kRecipients ? add_ : write_; }

void FormContacts::clear_filter() {
    filter_ = ContactFilter();
    // Quietly: the caller rebuilds once.
    EditListener* listener = edit_->listener();
    edit_->set_listener(nullptr);
    edit_->set_text(u"");
    edit_->set_listener(listener);
    write_->set_visible(false);
    add_->set_visible(false);
}

void FormContacts::apply_filter() {
    filtered_.clear();
    ChatModel* model = ChatModel::instance();
    if (!model) return;
    const std::vector<PhoneEntry>& entries = model->phones().entries();
    for (size_t i = 0; i < entries.size(); ++i)
        if (filter_.passes(entries[i])) filtered_.push_back(i);
}

std::vector<std::u16string> FormContacts::present_letters() const {
    std::vector<std::u16string> letters;
    ChatModel* model = ChatModel::instance();
    if (!model) return letters;
    for (size_t i : filtered_) {
        std::u16string letter = ContactFilter::letter_of(model->phones().entries()[i]);
        if (!letter.empty()) letters.push_back(std::move(letter));
    }
    std::sort(letters.begin(), letters.end());
    letters.erase(std::unique(letters.begin(), letters.end()), letters.end());
    return letters;
}

void FormContacts::rebuild() {
    apply_filter();
    list_->set_count(static_cast<int>(filtered_.size()));
    title_->set_text(properties().translate(mode_ == kRecipients ? u"Recipients" : u"Recipient"));
    (mode_ == kRecipients ? write_ : add_)->set_visible(false);
    hint_->set_visible(false);
    ruler_.set_letters(present_letters());
}

std::unique_ptr<Element> FormContacts::create_row(VListElement&, int index) {
    ChatModel* model = ChatModel::instance();
    if (!model || index < 0 || static_cast<size_t>(index) >= filtered_.size()) return nullptr;
    const size_t at = filtered_[static_cast<size_t>(index)];
    // The phone list may have changed under a list not yet rebuilt.
    if (at >= model->phones().size()) return nullptr;
    const PhoneEntry& entry = model->phones().entries()[at];
    ContactItem::Look look;
    look.recipients = mode_ == kRecipients;
    look.own_number = !entry.key.empty() && entry.key == model->current_chat_key();
    return ContactItem::create(properties(), entry, filter_, look);
}

void FormContacts::row_tapped(VListElement&, int index) {
    ChatModel* model = ChatModel::instance();
    if (!model || index < 0 || static_cast<size_t>(index) >= filtered_.size()) return;
    const size_t at = filtered_[static_cast<size_t>(index)];
    if (at >= model->phones().size()) return;
    choose(model->phones().entries()[at].number);
}

void FormContacts::choose(const std::u16string& text) {
    ChatModel* model = ChatModel::instance();
    if (!model) return;
    PhoneEntry recipient = PhoneList::from_typed(text);
    if (recipient.number.empty()) return;
    PhoneList& phones = model->phones();
    if (mode_ == kWrite) {
        // A known number goes with its name, so that a new chat or the
        // contact sent as text carries it.
        const long known = phones.find(recipient.key);
        if (known >= 0) recipient = phones.entries()[static_cast<size_t>(known)];
        forms_.contact_chosen(recipient);
        if (FormStack* stack = FormStack::instance()) stack->remove(*this, true);
        return;
    }
    // A number typed by hand joins the list, so that it can be ticked too.
    const size_t at = phones.find_or_add(recipient);
    phones[at].selected = 1;
    phones.sort();
    clear_filter();
    rebuild();
}

void FormContacts::close() {
    if (ChatModel* model = ChatModel::instance()) model->set_handover_text(u"");
    if (mode_ == kRecipients) forms_.chat_refresh();
    if (FormStack* stack = FormStack::instance()) stack->remove(*this, true);
}

void FormContacts::clicked(ButtonElement& button, const Click&) {
    if (&button == close_) {
        close();
    } else if (&button == write_ || &button == add_) {
        choose(edit_->text());
    }
}

void FormContacts::state_changed(ButtonElement&, const StateChange&) {}

void FormContacts::dragged(ButtonElement&, Drag&) {}

void FormContacts::text_changed(EditElement& element) {
    filter_ = ContactFilter(element.text());
    rebuild();
    action_button()->set_visible(ContactFilter::typed_number(element.text()));
}

void FormContacts::ruler_letter(size_t, const std::u16string& letter, bool pressed, bool) {
    hint_->set_visible(pressed);
    if (pressed) hint_->set_text(u"#text", letter);
    ChatModel* model = ChatModel::instance();
    if (!model) return;
    for (size_t i = 0; i < filtered_.size(); ++i) {
        const size_t at = filtered_[i];
        if (at < model->phones().size() &&
            ContactFilter::letter_of(model->phones().entries()[at]) == letter) {
            list_->scroll_to(static_cast<int>(i));
            return;
        }
    }
}
