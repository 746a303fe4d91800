#pragma once
// What the chat, contacts and templates forms need of the main form, which
// owns them and opens chats: each of them reaches the others through it.
struct PhoneEntry;
class FormChat;
class FormContacts;
class FormTemplates;

class ChatForms {
public:
    virtual ~ChatForms() = default;

    virtual FormChat& chat_form() = 0;
    virtual FormContacts& contacts_form() = 0;
    virtual FormTemplates& templates_form() = 0;

    // Opens the chat with recipient (a new chat when there is none yet):
    // marks it read, makes it the current chat and shows the chat form.
    virtual void open_chat(const PhoneEntry& recipient) = 0;
    // The contacts form picked recipient in its write mode: with a chat form
    // open the contact goes into its message as text, else its chat opens.
    virtual void contact_chosen(const PhoneEntry& recipient) = 0;
};
