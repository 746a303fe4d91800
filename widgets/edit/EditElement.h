#pragma once
// "edit": a text element whose text the user writes. While it has the focus
// the native edit box lies exactly over it and takes the keys, the typed text
// and the stylus; the element owns the text, decides when the box is bound to
// it, and keeps both texts in step. The text never holds carriage returns:
// line breaks are line feeds.
//
// Attributes: those of "text" ("wrap" makes the box multi-line) and
// "background_color", the box's background (default black).
//
// The element is bound from a tap or its form's focus() until it is hidden,
// destroyed, or another edit is focused; while bound, a change of its
// rectangle moves the box with it.
#include <string>
#include <string_view>

#include "draw/Color.h"
#include "skin/elements/TextElement.h"

class EditListener;

class EditElement : public TextElement {
public:
    std::u16string_view kind_name() const override { return u"edit"; }
    EditElement();
    // Removes the binding when it is the bound one.
    ~EditElement() override;

    void load_from_node(Properties& properties, SkinNode node) override;
    // Takes text without its carriage returns. When that differs from the
    // current text: replaces and lays it out, brings the box in step when
    // bound, then tells the listener. The same text again does nothing, which
    // ends the echo between the box and the element.
    void set_text(std::u16string_view text) override;
    using TextElement::set_text;

    // Binds the native edit box to this element unless it is the bound one.
    void focus();
    bool bound() const;
    bool multi_line() const { return wraps(); }
    Color background_color() const { return background_; }

    // A press focuses the element and is taken.
    bool pointer_button(const PointerEvent& event) override;
    void visibility_changed(bool visible) override;
    void arrange_x() override;
    void arrange_y() override;

    // Not owned; null for none.
    void set_listener(EditListener* listener) { listener_ = listener; }
    EditListener* listener() const { return listener_; }

private:
    // Brings the bound box to the element's rectangle and text again.
    void renew_binding();

    Color background_{0, 0, 0, 255};
    EditListener* listener_ = nullptr;
};
