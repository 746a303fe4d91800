#pragma once
// Any node of a skin shown as a full form, so that every skin element can be
// seen and driven before the form that will use it exists. Its buttons are
// pressable, by the stylus and by the keys they are bound to ("bind_key"):
// each click logs "FormPreview button " and the button's id.
// Buttons that another element listens to already (the pages of a
// multinode) keep their listener.
#include <string>

#include "forms/Form.h"
#include "skin/elements/ButtonListener.h"

class FormPreview : public Form, public ButtonListener {
public:
    // Binds to node_name. Throws NodeNotFoundInSkin when the skin has no such
    // node.
    FormPreview(Properties& properties, std::u16string node_name);

    // Offers the key to every visible, enabled button of the form; handled
    // when one of them is bound to it.
    bool key(const KeyEvent& event) override;

    void clicked(ButtonElement& button, const Click& info) override;
    void state_changed(ButtonElement& button, const StateChange& info) override;
    void dragged(ButtonElement& button, Drag& info) override;

    const std::u16string& node_name() const { return node_name_; }

protected:
    void load() override;

private:
    void listen_to_buttons(Element& element);
    static bool offer_key(Element& element, const KeyEvent& event);

    std::u16string node_name_;
};
