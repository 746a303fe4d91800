#include "widgets/edit/EditElement.h"

#include "skin/Properties.h"
#include "widgets/edit/EditListener.h"
#include "widgets/edit/NativeEditHost.h"

EditElement::EditElement() = default;

EditElement::~EditElement() {
    // The box must not go on serving an element that is gone.
    if (bound()) NativeEditHost::current()->bind_native_edit(nullptr, false);
}

void EditElement::load_from_node(Properties& properties, SkinNode node) {
    TextElement::load_from_node(properties, node);
    background_ = properties.color(node, u"background_color", Color{0, 0, 0, 255});
    // A skin's text with carriage returns (a text from a language file) is
    // kept with line feeds only, like every text the element holds.
    if (text().find(u'\r') != std::u16string::npos) {
        std::u16string clean = text();
        std::erase(clean, u'\r');
        TextElement::set_text(clean);
    }
    renew_binding();
}

void EditElement::set_text(std::u16string_view text) {
    std::u16string clean(text);
    std::erase(clean, u'\r');
    if (clean == this->text()) return;
    TextElement::set_text(clean);
    renew_binding();
    if (listener_) listener_->text_changed(*this);
}

bool EditElement::bound() const {
    NativeEditHost* host = NativeEditHost::current();
    return host && host->bound_edit() == this;
}

void EditElement::focus() {
    NativeEditHost* host = NativeEditHost::current();
    if (host && host->bound_edit() != this) host->bind_native_edit(this, true);
}

void EditElement::renew_binding() {
    if (bound()) NativeEditHost::current()->bind_native_edit(this, false);
}

bool EditElement::pointer_button(const PointerEvent& event) {
    if (event.pressed && !event.cancelled) focus();
    TextElement::pointer_button(event);
    return true;
}

void EditElement::visibility_changed(bool visible) {
    TextElement::visibility_changed(visible);
    if (!visible && bound()) NativeEditHost::current()->bind_native_edit(nullptr, false);
}

void EditElement::arrange_x() {
    TextElement::arrange_x();
    renew_binding();
}

void EditElement::arrange_y() {
    TextElement::arrange_y();
    renew_binding();
}
