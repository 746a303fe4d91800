#pragma once
// One conversation: the messages of a chat as a scrolling list of bubbles
// (SMSItem), the edit field for the next message with a live count of its
// parts, and the buttons to send, close, choose recipients, see the contact
// and open the chat's menu. Links in a bubble are called, mailed or browsed;
// a tapped bubble opens its menu (delete, forward, resend).
//
// Owned by the main form, which opens it on a chat (set_chat) and reaches it
// through ChatForms; the form reaches the contacts and templates forms the
// same way. It follows the chat model (ChatModel::instance(), which must
// exist while the form does) and takes its events about the shown chat.
//
// The node "FormChat" must hold "title", "type", "symbols" (text), "list"
// (vlist), "edit" (edit), "btnClose", "btnTitle", "btnCopy", "btnMenu",
// "btnSend", "scroll_button" (buttons), "list_offset", "scroll" and
// "scroll_indicator"; the skin also needs "FormLink", "Menu" and the bubble
// nodes of SMSItem.
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "chats/ChatObserver.h"
#include "forms/DialogListener.h"
#include "forms/Form.h"
#include "messaging/SmsParts.h"
#include "platform/Subscription.h"
#include "skin/elements/ButtonListener.h"
#include "widgets/edit/EditListener.h"
#include "widgets/list/ListAdapter.h"
#include "widgets/menu/MenuProvider.h"
#include "widgets/richtext/LinkListener.h"

class Chat;
class ChatForms;
class EditElement;
class FormLink;
class FormMenu;
class PhoneList;
class TextElement;
class VListElement;
struct Recipient;

class FormChat : public Form,
                 public ChatObserver,
                 public ButtonListener,
                 public ListAdapter,
                 public MenuProvider,
                 public DialogListener,
                 public EditListener,
                 public LinkListener {
public:
    // Binds to "FormChat" and makes the link dialog. Throws
    // NodeNotFoundInSkin / NodeNotFound when the skin lacks the nodes or
    // children above. forms must outlive the form.
    FormChat(Properties& properties, ChatForms& forms);
    ~FormChat() override;

    // ---- What the other forms ask ----

    // Shows chat (not owned; it belongs to the chat model): title, bubbles
    // scrolled to the last one, the copy button; then takes the hand-over
    // text, or else the text last written in this chat. Null shows nothing.
    void set_chat(Chat* chat);
    // Shows the current chat anew: title and label, the bubbles scrolled to
    // the last one, and the copy button.
    void refresh();
    // The chat model's hand-over text, when there is one, goes into the edit
    // field (and is cleared); otherwise the chat's own last written text.
    // Then recounts.
    void take_handover_text();

    Chat* chat() const { return chat_; }
    EditElement* edit() const { return edit_; }

    // ---- Parts others may look at ----

    // The part counter of the edit text, as shown in "symbols".
    const SmsParts& parts() const { return parts_; }
    FormLink* link_dialog() const { return link_.get(); }
    // The chat or message menu while it exists, or null.
    FormMenu* menu() const { return menu_.get(); }
    VListElement* list() const { return list_; }
    int32_t selected_message() const { return selected_; }

    // The recipients of a send: the selected entries of phones, in list
    // order. An entry's name goes with its number unless the number holds the
    // name (an entry whose only "name" is its number, or part of it).
    static std::vector<Recipient> recipients(const PhoneList& phones);
    // The copy button's list: the selected entries other than the chat's own
    // key, each "name label" (the name alone without a label, the number
    // without a name), joined by "; ". Empty when there are none.
    static std::u16string copy_list(const PhoneList& phones, const std::u16string& chat_key);

    // ---- Element and form operations ----

    void time_step(double seconds) override;
    void arrange_y() override;

    void on_chat_event(const ChatEvent& event) override;

    void clicked(ButtonElement& button, const Click& info) override;
    void state_changed(ButtonElement& button, const StateChange& info) override;
    void dragged(ButtonElement& button, Drag& info) override;

    std::unique_ptr<Element> create_row(VListElement& list, int index) override;
    void row_tapped(VListElement& list, int index) override;

    void fill(const std::u16string& context, const std::u16string& key, std::u16string& caption,
              std::vector<MenuEntry>& entries) override;

    void dialog_closed(FormDialog& dialog, ButtonElement& button) override;

    void text_changed(EditElement& element) override;

    void link_pressed(std::u16string_view link, RichTextPiece& piece) override;

    // ---- Commands (the buttons and menus run these) ----

    // Sends the edit text to the selected recipients; true when the store
    // took it (the text is then cleared). An empty text sends nothing.
    bool send();
    // Deletes the message at index from the store and the chat.
    void delete_message(int32_t index);
    // The message at index becomes the hand-over text; the form closes.
    void forward_message(int32_t index);
    // The text of the message at index goes into the edit field.
    void resend_message(int32_t index);
    // Deletes every message of the chat and the chat, and closes.
    void delete_chat();
    // Closes the form; a chat without messages (never sent) goes.
    void close();
    // The companion contacts application, or the system's contact, or the
    // offer to install the application.
    void show_contact();
    // Hands a link tapped in a bubble to the program that takes it.
    void open_link(std::u16string_view link);

protected:
    void load() override;

private:
    void recount();
    void update_copy_button();
    void open_menu(const std::u16string& key);
    void fill_chat_menu(std::vector<MenuEntry>& entries);
    bool message_index_valid(int32_t index) const;
    // Brings the native edit box up to date after the program set the text.
    void sync_native_edit();
    void place_indicator();
    void scroll_to_fraction(int32_t y);
    bool on_top() const;

    ChatForms& forms_;
    Subscription observing_;
    Chat* chat_ = nullptr;
    int32_t selected_ = -1;
    SmsParts parts_;
    std::unique_ptr<FormLink> link_;
    std::unique_ptr<FormMenu> menu_;

    TextElement* title_ = nullptr;
    TextElement* type_ = nullptr;
    TextElement* symbols_ = nullptr;
    VListElement* list_ = nullptr;
    EditElement* edit_ = nullptr;
    ButtonElement* close_ = nullptr;
    ButtonElement* title_button_ = nullptr;
    ButtonElement* copy_ = nullptr;
    ButtonElement* menu_button_ = nullptr;
    ButtonElement* send_ = nullptr;
    Element* list_offset_ = nullptr;
    Element* scroll_ = nullptr;
    ButtonElement* scroll_button_ = nullptr;
    Element* scroll_indicator_ = nullptr;
    // The visible range the indicator was last placed for.
    std::pair<double, double> shown_range_{-1, -1};
};
