#pragma once
// One piece of a rich text element's text on one line: a plain text element
// sized to its text. A piece of a link belongs to the link's group (every
// piece of the same link): pressing any piece shows the whole group in the
// pressed font, and releasing inside the pressed piece, not cancelled, tells
// the rich text element that the link was tapped.
#include <cstdint>
#include <memory>

#include "skin/elements/TextElement.h"

class RichTextElement;

class RichTextPiece : public TextElement {
public:
    // A piece is as wide as its text, except the last one of a line cut with
    // "…", whose kept text starts where the piece does.
    explicit RichTextPiece(RichTextElement& owner) : owner_(owner) { set_halign(LEFT); }

    // The link group this piece belongs to, -1 for plain text.
    int32_t group() const { return group_; }
    // Makes the piece show text in font (pressed_font while its group is
    // pressed), in color, as part of group (-1: plain text).
    void assign(std::u16string_view text, std::shared_ptr<const FontRep> font,
                std::shared_ptr<const FontRep> pressed_font, Color color, int32_t group);
    // Switches between the normal and the pressed font.
    void show_pressed(bool pressed);

    bool hit_test(Point point) const override;
    bool pointer_button(const PointerEvent& event) override;

private:
    RichTextElement& owner_;
    std::shared_ptr<const FontRep> normal_font_;
    std::shared_ptr<const FontRep> pressed_font_;
    int32_t group_ = -1;
    bool pressed_ = false;
};
