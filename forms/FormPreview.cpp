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

void FormPreview::clicked(ButtonElement& button, const Click&) {
    log() << u"FormPreview button " << button.id() << u"\n";
}

void FormPreview::state_changed(ButtonElement&, const StateChange&) {}

void FormPreview::dragged(ButtonElement&, Drag&) {}
