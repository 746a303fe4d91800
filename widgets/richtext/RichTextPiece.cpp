#include "widgets/richtext/RichTextPiece.h"

#include "widgets/richtext/RichTextElement.h"

void RichTextPiece::assign(std::u16string_view text, std::shared_ptr<const FontRep> font,
                           std::shared_ptr<const FontRep> pressed_font, Color color,
                           int32_t group) {
    normal_font_ = std::move(font);
    pressed_font_ = pressed_font ? std::move(pressed_font) : normal_font_;
    group_ = group;
    pressed_ = false;
    set_text(text);
    set_font(normal_font_);
    set_color(color);
}

void RichTextPiece::show_pressed(bool pressed) {
    if (pressed == pressed_) return;
    pressed_ = pressed;
    set_font(pressed ? pressed_font_ : normal_font_);
}

bool RichTextPiece::hit_test(Point point) const {
    return group_ >= 0 && TextElement::hit_test(point);
}

bool RichTextPiece::pointer_button(const PointerEvent& event) {
    if (group_ < 0) return false;
    if (event.pressed && !event.cancelled) {
        owner_.press_group(group_, true);
        return true;
    }
    owner_.press_group(group_, false);
    if (!event.cancelled && TextElement::hit_test({event.x, event.y}))
        owner_.link_tapped(group_, *this);
    return true;
}
