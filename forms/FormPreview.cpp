#include "forms/FormPreview.h"

#include "platform/Log.h"

FormPreview::FormPreview(Properties& properties, std::u16string node_name)
    : Form(properties), node_name_(std::move(node_name)) {
    FormPreview::load();
}

void FormPreview::load() {
    bind_or_throw(node_name_);
    listen_to_buttons(*this);
}

void FormPreview::listen_to_buttons(Element& element) {
    for (size_t i = 0; i < element.child_count(); ++i) {
        Element& child = *element.child(i);
        if (auto* button = dynamic_cast<ButtonElement*>(&child))
            if (button->listener() == nullptr) button->set_listener(this);
        listen_to_buttons(child);
    }
}

bool FormPreview::key(const KeyEvent& event) { return offer_key(*this, event); }

bool FormPreview::offer_key(Element& element, const KeyEvent& event) {
    bool handled = false;
    for (size_t i = 0; i < element.child_count(); ++i) {
        Element& child = *element.child(i);
        if (!child.effectively_visible() || !child.effectively_enabled()) continue;
        if (auto* button = dynamic_cast<ButtonElement*>(&child)) handled |= button->key(event);
        handled |= offer_key(child, event);
    }
    return handled;
}

void FormPreview::clicked(ButtonElement& button, const Click&) {
    log() << u"FormPreview button " << button.id() << u"\n";
}

void FormPreview::state_changed(ButtonElement&, const StateChange&) {}

void FormPreview::dragged(ButtonElement&, Drag&) {}
