#pragma once
// The message templates: the user's own first, then the language's defaults.
// In insert mode (opened from a chat) choosing a template puts its text into
// the message being written; in browse mode (from the main menu) choosing one
// opens the menu "Templates" to send it to someone or, for the user's own, to
// delete it. A new template is typed into the form's edit field and added at
// the top.
//
// The main form owns this form and shows it through ChatForms; the form
// reaches the chat and contacts forms only through it.
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "forms/Form.h"
#include "skin/elements/ButtonListener.h"
#include "widgets/list/ListAdapter.h"
#include "widgets/menu/MenuProvider.h"

class ChatForms;
class EditElement;
class FormMenu;
class VListElement;

class FormTemplates : public Form, public ListAdapter, public ButtonListener, public MenuProvider {
public:
    // The menu key of a chosen template's menu, and of the notice that a
    // template cannot hold the separator of the stored form.
    static constexpr char16_t kMenuKey[] = u"Templates";
    static constexpr char16_t kRefusedKey[] = u"TemplateSlash";

    // Binds to "FormTemplates" and reads the templates. Throws
    // NodeNotFoundInSkin without the node and NodeNotFound without "list",
    // "edit", "btnClose" or "btnAdd". forms must outlive the form.
    FormTemplates(Properties& properties, ChatForms& forms);
    // Closes the menu if it is open.
    ~FormTemplates() override;

    // Insert mode: a chosen template goes into the chat's message. Set before
    // each push.
    void set_insert_mode(bool insert_mode) { insert_mode_ = insert_mode; }
    bool insert_mode() const { return insert_mode_; }

    // The templates shown, the user's own count at the front.
    const std::vector<std::u16string>& templates() const { return templates_; }
    size_t user_count() const { return user_count_; }
    VListElement* list() const { return list_; }
    EditElement* edit() const { return edit_; }
    // The menu, once it was opened; null before.
    FormMenu* menu() const { return menu_.get(); }

    std::unique_ptr<Element> create_row(VListElement& list, int index) override;
    void row_tapped(VListElement& list, int index) override;

    void clicked(ButtonElement& button, const Click& info) override;
    void state_changed(ButtonElement& button, const StateChange& info) override;
    void dragged(ButtonElement& button, Drag& info) override;

    void fill(const std::u16string& context, const std::u16string& key, std::u16string& caption,
              std::vector<MenuEntry>& entries) override;

protected:
    void load() override;

private:
    void add_typed_template();
    void open_menu(const std::u16string& key);
    void delete_selected();
    void send_selected();
    void close_edit();
    void store() const;

    ChatForms& forms_;
    bool insert_mode_ = false;
    std::vector<std::u16string> templates_;
    size_t user_count_ = 0;
    // The template whose menu is open; -1 for none.
    int selected_ = -1;
    VListElement* list_ = nullptr;
    EditElement* edit_ = nullptr;
    ButtonElement* close_ = nullptr;
    ButtonElement* add_ = nullptr;
    std::unique_ptr<FormMenu> menu_;
};
