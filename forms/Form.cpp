#include "forms/Form.h"

#include "forms/FormStack.h"
#include "platform/Log.h"
#include "skin/NodeNotFound.h"
#include "skin/NodeNotFoundInSkin.h"
#include "skin/Properties.h"
#include "skin/elements/ButtonElement.h"

Form::Form(Properties& properties)
    : properties_(properties), reload_subscription_(properties.add_reload_listener(*this)) {}

Form::~Form() {
    if (FormStack* stack = FormStack::instance()) stack->forget(*this);
}

void Form::reload_skin(Properties&) { load(); }

void Form::focus() {}

bool Form::bind(std::u16string_view node_name) {
    node_name_ = std::u16string(node_name);
    return load_from_skin(properties_, node_name);
}

void Form::bind_or_throw(std::u16string_view node_name) {
    if (!bind(node_name)) throw NodeNotFoundInSkin(std::u16string(node_name));
}

Element* Form::find_child(std::u16string_view id) const { return find_element(id); }

bool Form::bind_button(ButtonElement*& slot, std::u16string_view id, ButtonListener& listener) {
    slot = find_child<ButtonElement>(id);
    if (slot) slot->set_listener(&listener);
    return slot != nullptr;
}

void Form::bind_required_button(ButtonElement*& slot, std::u16string_view id,
                                ButtonListener& listener) {
    if (!bind_button(slot, id, listener)) throw_missing(id);
}

std::u16string Form::form_id() const { return id().empty() ? node_name_ : id(); }

void Form::throw_missing(std::u16string_view id) const {
    throw NodeNotFound(form_id(), std::u16string(id));
}

namespace {

bool offer_key(Element& element, const KeyEvent& event) {
    bool handled = false;
    for (size_t i = 0; i < element.child_count(); ++i) {
        Element& child = *element.child(i);
        if (!child.effectively_visible() || !child.effectively_enabled()) continue;
        if (auto* button = dynamic_cast<ButtonElement*>(&child)) handled |= button->key(event);
        handled |= offer_key(child, event);
    }
    return handled;
}

}  // namespace

bool Form::key(const KeyEvent& event) { return offer_key(*this, event); }
