#pragma once
// The contacts picker: the phone list, narrowed while the user types into
// the filter field, with an alphabet ruler to jump to a letter; a number
// typed by hand can be taken as well. In write mode picking an entry starts
// writing to it (the main form decides how); in recipients mode entries are
// ticked as further recipients of the open chat, and ticked ones move to
// the top.
//
// The main form owns this form and shows it through ChatForms; the phone
// list, its selection marks and the hand-over text live in the ChatModel.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "forms/Form.h"
#include "forms/contacts/AlphabetRuler.h"
#include "forms/contacts/ContactFilter.h"
#include "skin/elements/ButtonListener.h"
#include "widgets/edit/EditListener.h"
#include "widgets/list/ListAdapter.h"

class ChatForms;
class EditElement;
class TextElement;
class VListElement;
struct PhoneEntry;

class FormContacts : public Form,
                     public ListAdapter,
                     public ButtonListener,
                     public EditListener,
                     public AlphabetRulerListener {
public:
    enum Mode : int32_t { kWrite = 0, kRecipients = 1 };

    // Binds to "FormContacts". Throws NodeNotFoundInSkin without the node or
    // "ContactItem", and NodeNotFound without "title", "list", "edit",
    // "btnClose", "btnWrite", "btnAdd", "hint", "ruler_button",
    // "ruler_table" or a child of "ContactItem". forms must outlive the form.
    FormContacts(Properties& properties, ChatForms& forms);
    ~FormContacts() override;

    // Sets the mode, clears the filter and lists the phone list anew.
    void set_mode(Mode mode);
    Mode mode() const { return mode_; }

    // Filters the phone list again and shows the result: the list, the
    // title of the mode, its action button (hidden) and the ruler's letters.
    void rebuild();

    // Positions in the phone list of the entries listed, in phone-list order.
    const std::vector<size_t>& filtered() const { return filtered_; }
    const ContactFilter& filter() const { return filter_; }
    const AlphabetRuler& ruler() const { return ruler_; }
    VListElement* list() const { return list_; }
    EditElement* edit() const { return edit_; }
    TextElement* title() const { return title_; }
    Element* hint() const { return hint_; }
    // The button of the mode: "btnWrite" or "btnAdd".
    ButtonElement* action_button() const;

    std::unique_ptr<Element> create_row(VListElement& list, int index) override;
    void row_tapped(VListElement& list, int index) override;

    void clicked(ButtonElement& button, const Click& info) override;
    void state_changed(ButtonElement& button, const StateChange& info) override;
    void dragged(ButtonElement& button, Drag& info) override;

    void text_changed(EditElement& element) override;

    void ruler_letter(size_t index, const std::u16string& letter, bool pressed,
                      bool cancelled) override;

protected:
    void load() override;

private:
    // Takes text (an entry's number, or what the user typed) as the choice.
    void choose(const std::u16string& text);
    void close();
    void clear_filter();
    void apply_filter();
    std::vector<std::u16string> present_letters() const;

    ChatForms& forms_;
    Mode mode_ = kWrite;
    ContactFilter filter_;
    std::vector<size_t> filtered_;
    AlphabetRuler ruler_{*this};

    TextElement* title_ = nullptr;
    VListElement* list_ = nullptr;
    EditElement* edit_ = nullptr;
    ButtonElement* close_ = nullptr;
    ButtonElement* write_ = nullptr;
    ButtonElement* add_ = nullptr;
    ButtonElement* ruler_button_ = nullptr;
    ButtonElement* ruler_button2_ = nullptr;
    Element* hint_ = nullptr;
};
