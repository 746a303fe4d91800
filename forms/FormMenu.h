#pragma once
// A skinned pop-up menu: one level of entries at a time in a "vlist", each
// row built from the skin node its entry names. The opener is the menu's
// provider: for a key it gives the entries of a submenu, or carries out the
// command of a leaf and gives none, which closes the menu. The form's node
// ("Menu" by default) must hold "panel" and "vlist" and may hold "caption".
//
// Tapping an enabled entry opens its key; a disabled entry does nothing. The
// buttons of the button row ("Magic4Buttons") open their own ids. The back
// key (Backspace, program key 11) closes the menu. Each level replaces the
// one before in the same form; there is no way back to an earlier level.
//
// The menu is shown as an overlay on the FormStack. Closing takes it off the
// stack; the opener owns the form and may destroy it once closed (never from
// inside fill).
#include <string>
#include <vector>

#include "forms/Form.h"
#include "skin/elements/ButtonListener.h"
#include "widgets/list/ListAdapter.h"
#include "widgets/menu/MenuEntry.h"

class MenuProvider;
class TextElement;
class VListElement;

class FormMenu : public Form, public ListAdapter, public ButtonListener {
public:
    // Binds to form_node. Throws NodeNotFoundInSkin when the skin lacks it
    // and NodeNotFound when it has no "panel" or "vlist". provider must
    // outlive the menu.
    FormMenu(Properties& properties, MenuProvider& provider, std::u16string context = {},
             std::u16string form_node = u"Menu", std::u16string row_node = u"MenuElement");
    ~FormMenu() override;

    // Asks the provider for the entries of key. No entries: the menu
    // closes. first: the menu is pushed onto the FormStack. A later level
    // with the same keys as the shown one only refreshes its rows, keeping
    // the scroll position. caption empty: the language text of key.
    void open(const std::u16string& key, const std::u16string& caption, bool first);
    // Takes the menu off the FormStack; nothing when it is not on it.
    void close();

    bool key(const KeyEvent& event) override;

    std::unique_ptr<Element> create_row(VListElement& list, int index) override;
    void row_tapped(VListElement& list, int index) override;

    void clicked(ButtonElement& button, const Click& info) override;
    void state_changed(ButtonElement& button, const StateChange& info) override;
    void dragged(ButtonElement& button, Drag& info) override;

    const std::vector<MenuEntry>& entries() const { return entries_; }
    VListElement* list() const { return list_; }
    Element* panel() const { return panel_; }
    // The caption shown for the current level.
    const std::u16string& caption_text() const { return caption_text_; }

protected:
    void load() override;

private:
    // The panel's height follows the entries: the skin's height is the most
    // it takes, a short menu takes only what its rows need.
    void fit_panel();
    int32_t row_height(const MenuEntry& entry) const;
    std::u16string entry_text(const MenuEntry& entry) const;
    void listen_to_buttons(Element& element);

    MenuProvider& provider_;
    std::u16string context_;
    std::u16string form_node_;
    std::u16string row_node_;
    std::vector<MenuEntry> entries_;
    std::u16string caption_text_;
    Element* panel_ = nullptr;
    // The panel's design size as its node gives it, per load.
    Point panel_design_;
    TextElement* caption_ = nullptr;
    VListElement* list_ = nullptr;
};
