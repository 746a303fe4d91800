#pragma once
// The new-message alert: an overlay card with the sender and the text of a
// message that has just arrived, and two buttons, view and cancel, which it
// passes on to its listener. Whether and when it shows is its owner's
// decision; the form only shows one message and keeps a copy of it, so that
// cancelling can mark it read and viewing can open its chat.
#include <cstdint>
#include <string>

#include "forms/Form.h"
#include "messaging/SmsRecord.h"

class AlertButtonListener;
class RichTextElement;
class TextElement;

class FormAlert : public Form, public ButtonListener {
public:
    static constexpr int32_t kView = 0;
    static constexpr int32_t kCancel = 1;

    // Binds to "FormAlert" and finds "title", "body", "btnView" and
    // "btnCancel", all required (NodeNotFoundInSkin, NodeNotFound). listener
    // must outlive the form.
    FormAlert(Properties& properties, AlertButtonListener& listener);

    // Shows message: the sender by the contact whose number has the
    // sender's chat key, else by the name the message carries, else by the
    // number; the text with smileys and links in the body's own colour.
    // view_action() becomes "open:" and the sender's number.
    void fill(const SmsRecord& message);

    const std::u16string& view_action() const { return view_action_; }
    const SmsRecord& message() const { return message_; }

    void clicked(ButtonElement& button, const Click& info) override;
    void state_changed(ButtonElement& button, const StateChange& info) override;
    void dragged(ButtonElement& button, Drag& info) override;

protected:
    void load() override;

private:
    // Puts the shown message into the freshly bound children.
    void show();

    AlertButtonListener& listener_;
    TextElement* title_ = nullptr;
    RichTextElement* body_ = nullptr;
    ButtonElement* view_ = nullptr;
    ButtonElement* cancel_ = nullptr;
    std::u16string sender_name_;
    std::u16string view_action_;
    SmsRecord message_;
};
