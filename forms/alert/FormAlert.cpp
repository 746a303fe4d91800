#include "forms/alert/FormAlert.h"

#include "chats/ChatKey.h"
#include "chats/ChatModel.h"
#include "forms/alert/AlertButtonListener.h"
#include "platform/Log.h"
#include "skin/elements/TextElement.h"
#include "widgets/richtext/RichTextElement.h"
#include "widgets/richtext/SmileyTable.h"

FormAlert::FormAlert(Properties& properties, AlertButtonListener& listener)
    : Form(properties), listener_(listener) {
    FormAlert::load();
}

void FormAlert::load() {
    bind_or_throw(u"FormAlert");
    title_ = bind_required<TextElement>(u"title");
    body_ = bind_required<RichTextElement>(u"body");
    bind_required_button(view_, u"btnView", *this);
    bind_required_button(cancel_, u"btnCancel", *this);
    // A language or skin change rebuilds the card; the message stays.
    if (!message_.id.empty() || !message_.body().empty()) show();
}

void FormAlert::fill(const SmsRecord& message) {
    const Recipient& sender = message.correspondent();
    std::u16string contact;
    if (ChatModel* model = ChatModel::instance())
        contact = model->resolve_sender_name(sender.number);
    if (!contact.empty()) {
        sender_name_ = contact;
    } else {
        sender_name_ = sender.name.empty() ? sender.number : sender.name;
    }
    // The chat the view button opens: the number, or for a sender without
    // one the name its chat is keyed by.
    ChatIdentity who = chat_identity(message);
    view_action_ = u"open:" + (who.number.empty() ? who.key : who.number);
    message_ = message;
    show();
    log() << u"form_alert message:" << message.body() << u"\n";
}

void FormAlert::show() {
    title_->set_text(sender_name_);
    body_->set_text(message_.body(), SmileyTable::instance(), body_->font(), body_->font(),
                    body_->color(), body_->color(), nullptr);
}

void FormAlert::clicked(ButtonElement& button, const Click&) {
    // Last: the listener may take the alert down.
    listener_.alert_button(&button == view_ ? kView : kCancel);
}

void FormAlert::state_changed(ButtonElement&, const StateChange&) {}

void FormAlert::dragged(ButtonElement&, Drag&) {}
