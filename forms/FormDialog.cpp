#include "forms/FormDialog.h"

#include "forms/FormStack.h"
#include "skin/elements/TextElement.h"

FormDialog::FormDialog(Properties& properties, DialogListener& listener, std::u16string node_name)
    : Form(properties), listener_(listener), node_name_(std::move(node_name)) {
    FormDialog::load();
}

void FormDialog::load() {
    bind_or_throw(node_name_);
    bind_button(cancel_, u"btnCancel", *this);
    bind_button(ok_, u"btnOk", *this);
    bind_child(caption_, u"caption");
    bind_child(text_, u"text");
}

void FormDialog::clicked(ButtonElement& button, const Click&) {
    if (FormStack* stack = FormStack::instance()) stack->remove(*this, true);
    // Last: the listener may destroy the dialog.
    listener_.dialog_closed(*this, button);
}

void FormDialog::state_changed(ButtonElement&, const StateChange&) {}

void FormDialog::dragged(ButtonElement&, Drag&) {}
