#pragma once
// The home screen: the chat list, newest activity first as the chat model
// orders it, with a button for a new message and one for the main menu. It
// owns the program's other full forms (chat, contacts, templates), built on
// the same skin whenever it binds, and is what they ask for each other
// (ChatForms).
//
// It follows the chat model (ChatModel::instance(), which must exist for as
// long as the form lives): chats inserted, changed and removed become list
// rows inserted, made again and removed.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "chats/ChatObserver.h"
#include "forms/ChatForms.h"
#include "forms/Form.h"
#include "platform/Subscription.h"
#include "widgets/list/ListAdapter.h"
#include "widgets/menu/MenuProvider.h"

class FormChat;
class FormContacts;
class FormMenu;
class FormTemplates;
class ReloadOverlay;
class VListElement;

class FormMain : public Form,
                 public ChatForms,
                 public ChatObserver,
                 public ButtonListener,
                 public ListAdapter,
                 public MenuProvider {
public:
    // Binds to "FormMain" with the required "btnNew", "btnMenu" and "list"
    // (NodeNotFoundInSkin, NodeNotFound; also NodeNotFoundInSkin without a
    // "ChatItem" node for the rows) and builds the owned forms.
    explicit FormMain(Properties& properties);
    ~FormMain() override;

    VListElement* list() const { return list_; }
    FormChat* chat_form() const { return chat_.get(); }
    FormContacts* contacts_form() const { return contacts_.get(); }
    FormTemplates* templates_form() const { return templates_.get(); }
    // The main menu once opened, else null.
    FormMenu* menu() const { return menu_.get(); }

    // The entries of the main menu, in order: the button row (Help,
    // Minimize, Exit), "Alerts" (checked while alerts are on), "Templates",
    // "Language" and "Skin" when there is a choice, "Cancel".
    static std::vector<MenuEntry> main_menu(bool alerts, bool languages, bool skins);
    // A contact written into a message: "name number", or only the longer
    // of the two when one holds the other (a name that is its number).
    static std::u16string contact_text(const PhoneEntry& contact);

    // ---- ChatForms ----
    void show_contacts(int32_t mode) override;
    void show_templates(bool insert_mode) override;
    void chat_take_handover() override;
    void chat_refresh() override;
    void open_chat(const PhoneEntry& recipient) override;
    void contact_chosen(const PhoneEntry& recipient) override;

    void on_chat_event(const ChatEvent& event) override;

    void clicked(ButtonElement& button, const Click& info) override;
    void state_changed(ButtonElement& button, const StateChange& info) override;
    void dragged(ButtonElement& button, Drag& info) override;

    std::unique_ptr<Element> create_row(VListElement& list, int index) override;
    void row_tapped(VListElement& list, int index) override;

    void fill(const std::u16string& context, const std::u16string& key, std::u16string& caption,
              std::vector<MenuEntry>& entries) override;

protected:
    void load() override;

private:
    // Runs a leaf command of the main menu.
    void command(const std::u16string& key);
    void open_help();
    // Drops the chat's newest messages that the store no longer has; false
    // when none is left and the chat was taken out of the model.
    bool drop_vanished(int index);

    Subscription chat_subscription_;
    std::unique_ptr<FormMenu> menu_;
    std::unique_ptr<ReloadOverlay> reload_;
    ButtonElement* new_ = nullptr;
    ButtonElement* menu_button_ = nullptr;
    VListElement* list_ = nullptr;
    std::unique_ptr<FormChat> chat_;
    std::unique_ptr<FormContacts> contacts_;
    std::unique_ptr<FormTemplates> templates_;
    // Set while the list asks for a row: the model's events of dropping
    // vanished messages then concern the row being made, and the list must
    // not hear of them.
    bool making_row_ = false;
    // One past the last chat inserted by the latest run of insertions.
    int32_t inserted_run_end_ = -1;
};
