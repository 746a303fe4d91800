#pragma once
// "button": shows one of its state children "#normal", "#pressed" and
// "#disabled" (found by id in its subtree; any may be missing), reacts to the
// stylus and to the key named by "bind_key", and tells its listener about
// clicks, state changes and drags. Its "text" (a language key) is shown by
// the text element "#text" below it.
#include <cstdint>
#include <string>

#include "input/KeyCode.h"
#include "skin/elements/ButtonListener.h"
#include "skin/elements/Element.h"

class ButtonElement : public Element {
public:
    std::u16string_view kind_name() const override { return u"button"; }
    ButtonElement();
    ~ButtonElement() override;

    void load_from_node(Properties& properties, SkinNode node) override;
    void enabled_changed(bool enabled) override;
    void pointer_move(const PointerEvent& event) override;
    // Always handled.
    bool pointer_button(const PointerEvent& event) override;
    // Handled when the event's code is the bound key.
    bool key(const KeyEvent& event) override;

    // Stores the text and sends it to "#text" below; nothing when unchanged.
    void set_button_text(std::u16string_view text);
    const std::u16string& button_text() const { return text_; }
    const std::u16string* shown_text() const override { return &text_; }

    void set_listener(ButtonListener* listener) { listener_ = listener; }
    ButtonListener* listener() const { return listener_; }
    KeyCode bind_key() const { return bind_key_; }
    void set_bind_key(KeyCode key) { bind_key_ = key; }

    // Held by a form that shows a selection: looks pressed without a press.
    void set_held(bool held);
    bool held() const { return held_; }
    bool pressed() const { return pressed_; }
    bool active() const { return pressed_ || key_pressed_ || held_; }

    // Buttons alive in this process.
    static int64_t live_count();

private:
    void update_state_children();
    void state_change(bool was_active, bool cancelled, Point point);

    ButtonListener* listener_ = nullptr;
    Element* normal_ = nullptr;
    Element* pressed_child_ = nullptr;
    Element* disabled_ = nullptr;
    KeyCode bind_key_ = KeyCode::None;
    std::u16string text_;
    bool pressed_ = false;
    bool key_pressed_ = false;
    bool held_ = false;
    Point last_pointer_;
};
