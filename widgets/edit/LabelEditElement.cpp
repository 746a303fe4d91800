#include "widgets/edit/LabelEditElement.h"

#include "skin/NodeNotFound.h"
#include "skin/Properties.h"
#include "skin/elements/ButtonElement.h"
#include "skin/elements/TextElement.h"
#include "widgets/edit/EditElement.h"

void LabelEditElement::load_from_node(Properties& properties, SkinNode node) {
    edit_ = nullptr;
    hint_ = nullptr;
    clear_ = nullptr;
    Element::load_from_node(properties, node);
    edit_ = dynamic_cast<EditElement*>(find_element(u"#edit"));
    if (!edit_) throw NodeNotFound(id(), u"#edit");
    hint_ = dynamic_cast<TextElement*>(find_element(u"#text"));
    if (!hint_) throw NodeNotFound(id(), u"#text");
    clear_ = dynamic_cast<ButtonElement*>(find_element(u"clear"));
    edit_->set_listener(this);
    if (clear_) clear_->set_listener(this);
    hint_->set_text(properties.translate(properties.string(node, u"text")));
    update_parts();
}

void LabelEditElement::remove_child(Element* child, size_t index) {
    forget(child);
    Element::remove_child(child, index);
}

void LabelEditElement::forget(Element* child) {
    // A part leaving the tree (a reload) may be anywhere below: drop every
    // pointer into the subtree that goes.
    auto inside = [child](Element* part) {
        for (Element* e = part; e; e = e->parent())
            if (e == child) return true;
        return false;
    };
    if (inside(edit_)) edit_ = nullptr;
    if (inside(hint_)) hint_ = nullptr;
    if (inside(clear_)) clear_ = nullptr;
}

void LabelEditElement::update_parts() {
    bool empty = !edit_ || edit_->text().empty();
    if (hint_) hint_->set_visible(empty);
    if (clear_) clear_->set_visible(!empty);
}

void LabelEditElement::text_changed(EditElement& element) {
    update_parts();
    if (listener_) listener_->text_changed(element);
}

void LabelEditElement::clicked(ButtonElement&, const Click&) {
    if (edit_) edit_->set_text(u"");
}

void LabelEditElement::state_changed(ButtonElement&, const StateChange&) {}

void LabelEditElement::dragged(ButtonElement&, Drag&) {}
