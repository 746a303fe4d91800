#include "forms/FormPreview.h"

#include "forms/FormMenu.h"
#include "platform/Log.h"

FormPreview::FormPreview(Properties& properties, std::u16string node_name)
    : Form(properties), node_name_(std::move(node_name)), rows_(properties) {
    FormPreview::load();
}

FormPreview::~FormPreview() = default;

void FormPreview::load() {
    bind_or_throw(node_name_);
    listen_to_buttons(*this);
    rows_.adopt_lists(*this);
}

void FormPreview::listen_to_buttons(Element& element) {
    for (size_t i = 0; i < element.child_count(); ++i) {
        Element& child = *element.child(i);
        if (auto* button = dynamic_cast<ButtonElement*>(&child))
            if (button->listener() == nullptr) button->set_listener(this);
        listen_to_buttons(child);
    }
}

void FormPreview::clicked(ButtonElement& button, const Click&) {
    log() << u"FormPreview button " << button.id() << u"\n";
    if (button.id() != u"btnMenu") return;
    if (!menu_) menu_ = std::make_unique<FormMenu>(properties(), *this);
    menu_->open(u"PreviewMenu", u"", true);
}

void FormPreview::fill(const std::u16string&, const std::u16string& key, std::u16string&,
                       std::vector<MenuEntry>& entries) {
    log() << u"FormPreview menu " << key << u"\n";
    auto entry = [&entries](std::u16string entry_key, std::u16string text) -> MenuEntry& {
        entries.push_back({std::move(entry_key), std::move(text)});
        return entries.back();
    };
    if (key == u"PreviewMenu") {
        entry(u"PreviewFirst", u"First");
        entry(u"PreviewSub", u"More").separator = true;
        entry(u"PreviewRed", u"Red").row_node = u"MenuElementRed";
        entry(u"PreviewOff", u"Not now").enabled = false;
        entry(u"PreviewChecked", u"Checked").checked = true;
    } else if (key == u"PreviewSub") {
        entry(u"PreviewSubOne", u"Sub one");
        entry(u"PreviewSubTwo", u"Sub two");
        entry(std::u16string(MenuEntry::kButtonRow), u"").row_node = u"MenuElement4Buttons";
    }
}

void FormPreview::state_changed(ButtonElement&, const StateChange&) {}

void FormPreview::dragged(ButtonElement&, Drag&) {}
