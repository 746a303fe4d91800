#include "skin/elements/ButtonElement.h"

#include "skin/Properties.h"

namespace {

int64_t live_buttons = 0;

}  // namespace

ButtonElement::ButtonElement() { ++live_buttons; }

ButtonElement::~ButtonElement() { --live_buttons; }

int64_t ButtonElement::live_count() { return live_buttons; }

void ButtonElement::load_from_node(Properties& properties, SkinNode node) {
    // The state children of an earlier load are gone once the children are
    // rebuilt; never point at them while the new ones are made.
    normal_ = pressed_child_ = disabled_ = nullptr;
    Element::load_from_node(properties, node);
    normal_ = find_element(u"#normal");
    pressed_child_ = find_element(u"#pressed");
    disabled_ = find_element(u"#disabled");
    bind_key_ = key_codes::from_name(properties.string(node, u"bind_key")).value_or(KeyCode::None);

    std::u16string text = properties.translate(properties.string(node, u"text"));
    // A reload builds a new "#text" child that does not show the text yet, so
    // a non-empty text is sent even when it is the one stored. An empty one
    // that is not a change is not sent, so that a "#text" keeps the text its
    // own node gives it.
    if (text != text_ || !text.empty()) {
        text_ = std::move(text);
        set_text(u"#text", text_);
    }
    update_state_children();
}

void ButtonElement::set_button_text(std::u16string_view text) {
    if (text == text_) return;
    text_ = std::u16string(text);
    set_text(u"#text", text_);
}

void ButtonElement::enabled_changed(bool enabled) {
    Element::enabled_changed(enabled);
    update_state_children();
}

void ButtonElement::set_held(bool held) {
    if (held == held_) return;
    // Only the look follows: the form that holds the button knows why, so it
    // is not told about it, and releasing a hold is never a click.
    held_ = held;
    update_state_children();
}

void ButtonElement::update_state_children() {
    Element* chosen = effectively_enabled() ? (active() ? pressed_child_ : normal_) : disabled_;
    if (chosen == nullptr) chosen = normal_;
    for (Element* state : {normal_, pressed_child_, disabled_})
        if (state != nullptr) state->set_visible(state == chosen);
}

bool ButtonElement::pointer_button(const PointerEvent& event) {
    bool was_active = active();
    // Events that elements send each other with a non-zero source leave the
    // pressed state alone.
    if (event.source == 0) {
        pressed_ = event.pressed;
        last_pointer_ = {event.x, event.y};
    }
    if (pressed_ && listener_ != nullptr) {
        ButtonListener::Drag drag{event.x, event.y, 0, 0, 0, 0};
        listener_->dragged(*this, drag);
    }
    state_change(was_active, event.cancelled, {event.x, event.y});
    return true;
}

void ButtonElement::pointer_move(const PointerEvent& event) {
    if (!pressed_) return;
    ButtonListener::Drag drag{
        event.x, event.y, event.x - last_pointer_.x, event.y - last_pointer_.y, 0, 0};
    if (listener_ != nullptr) listener_->dragged(*this, drag);
    // What the listener did not use is carried into the next move.
    last_pointer_ = {event.x - drag.remainder_x, event.y - drag.remainder_y};
}

bool ButtonElement::key(const KeyEvent& event) {
    if (bind_key_ == KeyCode::None || event.code != bind_key_) return false;
    bool was_active = active();
    key_pressed_ = event.pressed;
    Point centre = position();
    centre.x += size().width / 2;
    centre.y += size().height / 2;
    state_change(was_active, false, centre);
    return true;
}

void ButtonElement::state_change(bool was_active, bool cancelled, Point point) {
    if (!effectively_enabled()) cancelled = true;
    bool now_active = active();
    if (now_active != was_active) {
        if (listener_ != nullptr) listener_->state_changed(*this, {point.x, point.y, cancelled});
        update_state_children();
    }
    if (was_active && !now_active && !cancelled && hit_test(point) && listener_ != nullptr)
        listener_->clicked(*this, {point.x, point.y, true});
}
