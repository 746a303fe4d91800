#pragma once
// "label_edit": an edit field with a hint and a clear button. Its node holds
// the edit "#edit", the hint text "#text" and optionally the button "clear";
// its own "text" (a language key) is the hint. The hint shows exactly while
// the edit is empty and the clear button exactly while it is not; a tap on
// the clear button empties the edit. Text changes of the edit are passed on
// to the element's own listener.
#include <string>

#include "skin/elements/ButtonListener.h"
#include "skin/elements/Element.h"
#include "widgets/edit/EditListener.h"

class ButtonElement;
class EditElement;
class TextElement;

class LabelEditElement : public Element, private EditListener, private ButtonListener {
public:
    std::u16string_view kind_name() const override { return u"label_edit"; }

    // Throws NodeNotFound(id, "#edit" or "#text") when the node lacks one.
    void load_from_node(Properties& properties, SkinNode node) override;
    void remove_child(Element* child, size_t index) override;

    EditElement* edit() const { return edit_; }
    TextElement* hint() const { return hint_; }
    ButtonElement* clear_button() const { return clear_; }

    // Not owned; null for none.
    void set_listener(EditListener* listener) { listener_ = listener; }
    EditListener* listener() const { return listener_; }

private:
    void text_changed(EditElement& element) override;
    void clicked(ButtonElement& button, const Click& info) override;
    void state_changed(ButtonElement& button, const StateChange& info) override;
    void dragged(ButtonElement& button, Drag& info) override;
    // Hint and clear button after the emptiness of the text.
    void update_parts();
    void forget(Element* child);

    EditElement* edit_ = nullptr;
    TextElement* hint_ = nullptr;
    ButtonElement* clear_ = nullptr;
    EditListener* listener_ = nullptr;
};
