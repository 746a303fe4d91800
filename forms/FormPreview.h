#pragma once
// Any node of a skin shown as a full form, so that every skin element can be
// seen and driven before the form that will use it exists. Its buttons are
// pressable, by the stylus and by the keys they are bound to ("bind_key"):
// each click logs "FormPreview button " and the button's id.
// Buttons that another element listens to already (the pages of a
// multinode) keep their listener.
//
// Every "vlist" of the node gets rows from a PreviewListAdapter, so that
// lists can be dragged and flung. The button "btnMenu" opens a small menu
// ("PreviewMenu", with the submenu "PreviewSub") built from the skin's menu
// nodes; every key the menu asks for is logged as "FormPreview menu " and
// the key.
#include <memory>
#include <string>
#include <vector>

#include "forms/Form.h"
#include "forms/PreviewListAdapter.h"
#include "skin/elements/ButtonListener.h"
#include "widgets/menu/MenuProvider.h"

class FormMenu;

class FormPreview : public Form, public ButtonListener, public MenuProvider {
public:
    // Binds to node_name. Throws NodeNotFoundInSkin when the skin has no such
    // node.
    FormPreview(Properties& properties, std::u16string node_name);
    ~FormPreview() override;

    void clicked(ButtonElement& button, const Click& info) override;
    void state_changed(ButtonElement& button, const StateChange& info) override;
    void dragged(ButtonElement& button, Drag& info) override;

    void fill(const std::u16string& context, const std::u16string& key, std::u16string& caption,
              std::vector<MenuEntry>& entries) override;
    // The menu opened by "btnMenu", or null before the first press.
    FormMenu* menu() const { return menu_.get(); }

    const std::u16string& node_name() const { return node_name_; }

protected:
    void load() override;

private:
    void listen_to_buttons(Element& element);

    std::u16string node_name_;
    PreviewListAdapter rows_;
    std::unique_ptr<FormMenu> menu_;
};
