#pragma once
// The base of small pop-up forms: a form bound to a named node that may have
// an "btnOk" and a "btnCancel" button and a "caption" and a "text". A press of
// either button takes the dialog off the FormStack (animated) and then tells
// the dialog listener which button it was. Dialogs are pushed as overlays.
//
// A derived dialog that finds more children overrides load(), calls
// FormDialog::load() first and runs its own load again at the end of its
// constructor (this constructor only reaches FormDialog::load).
#include <string>

#include "forms/DialogListener.h"
#include "forms/Form.h"
#include "skin/elements/ButtonListener.h"

class TextElement;

class FormDialog : public Form, public ButtonListener {
public:
    // Binds to node_name. Throws NodeNotFoundInSkin when the skin has no such
    // node. The listener must outlive the dialog.
    FormDialog(Properties& properties, DialogListener& listener, std::u16string node_name);

    void clicked(ButtonElement& button, const Click& info) override;
    void state_changed(ButtonElement& button, const StateChange& info) override;
    void dragged(ButtonElement& button, Drag& info) override;

    // The children found by the last load; each may be null.
    ButtonElement* ok_button() const { return ok_; }
    ButtonElement* cancel_button() const { return cancel_; }
    TextElement* caption() const { return caption_; }
    TextElement* text() const { return text_; }
    const std::u16string& node_name() const { return node_name_; }

protected:
    void load() override;

private:
    DialogListener& listener_;
    std::u16string node_name_;
    ButtonElement* ok_ = nullptr;
    ButtonElement* cancel_ = nullptr;
    TextElement* caption_ = nullptr;
    TextElement* text_ = nullptr;
};
