#pragma once
// What the chat, contacts and templates forms ask of the main form, which
// owns all three and opens chats: each reaches the others only through it.
#include <cstdint>

struct PhoneEntry;

class ChatForms {
public:
    virtual ~ChatForms() = default;

    // Puts the contacts form into mode (0 write, 1 recipients) and shows it
    // (a full form, animated).
    virtual void show_contacts(int32_t mode) = 0;
    // Puts the templates form into insert mode (choosing a template puts it
    // into the chat form's message) or browse mode, and shows it.
    virtual void show_templates(bool insert_mode) = 0;
    // The chat form takes the chat model's hand-over text into its message.
    virtual void chat_take_handover() = 0;
    // The chat form shows its chat anew (title, messages, the copy button).
    virtual void chat_refresh() = 0;

    // Opens the chat with recipient (a new chat when there is none yet):
    // marks it read, makes it the current chat and shows the chat form.
    virtual void open_chat(const PhoneEntry& recipient) = 0;
    // The contacts form picked recipient in its write mode: with a chat form
    // open the contact goes into its message as text, else its chat opens.
    virtual void contact_chosen(const PhoneEntry& recipient) = 0;
};
