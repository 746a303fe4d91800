#include "skin/elements/TextElement.h"

#include <algorithm>
#include <cstdint>

#include "draw/ClipScope.h"
#include "draw/text/FontRep.h"
#include "draw/text/TextDraw.h"
#include "skin/Properties.h"

namespace {

int64_t live_texts = 0;

int32_t halign_from_name(std::u16string_view name) {
    if (name == u"LEFT") return TextElement::LEFT;
    if (name == u"CENTER") return TextElement::CENTER;
    if (name == u"RIGHT") return TextElement::RIGHT;
    if (name == u"JUSTIFY") return TextElement::JUSTIFY;
    return TextElement::CENTER;
}

int32_t valign_from_name(std::u16string_view name) {
    if (name == u"TOP") return TextElement::TOP;
    if (name == u"VCENTER") return TextElement::VCENTER;
    if (name == u"BOTTOM") return TextElement::BOTTOM;
    return TextElement::VCENTER;
}

// TextDraw places a line left, centred or right. A justified line would need
// its spaces widened, which it cannot do, so justified text is drawn left
// aligned.
int draw_halign(int32_t halign) {
    return halign == TextElement::JUSTIFY ? TextDraw::kLeft : halign;
}

void raise(SizeRange& range, int32_t extent, bool minimum_too) {
    range.preferred = std::max(range.preferred, extent);
    if (minimum_too) range.minimum = std::max(range.minimum, extent);
}

}  // namespace

TextElement::TextElement() {
    ++live_texts;
    layout_.set_color(color_);
    layout_.set_alignment(draw_halign(halign_), valign_);
}

TextElement::~TextElement() { --live_texts; }

int64_t TextElement::live_count() { return live_texts; }

void TextElement::set_text(std::u16string_view id, std::u16string_view text) {
    if (id == this->id()) set_text(text);
    Element::set_text(id, text);
}

void TextElement::load_from_node(Properties& properties, SkinNode node) {
    Element::load_from_node(properties, node);
    layout_.set_text(properties.translate(properties.string(node, u"text")));
    font_ = properties.font(node, u"font");
    layout_.set_font(font_);
    grow_ = properties.integer(node, u"grow", 0) != 0;
    grow_min_ = properties.integer(node, u"grow_min", 0) != 0;
    wrap_ = properties.integer(node, u"wrap", 0) != 0;
    ellipsis_ = properties.integer(node, u"ellipsis", 0) != 0;
    color_ = properties.color(node, u"color", Color{0, 0, 0, 255});
    halign_ = halign_from_name(properties.string(node, u"halign"));
    valign_ = valign_from_name(properties.string(node, u"valign"));

    layout_.set_color(color_);
    layout_.set_alignment(draw_halign(halign_), valign_);
    layout_.set_wrap(wrap_);
    layout_.set_ellipsis(ellipsis_);
    content_changed();
}

void TextElement::set_ellipsis(bool ellipsis) {
    if (ellipsis == ellipsis_) return;
    ellipsis_ = ellipsis;
    layout_.set_ellipsis(ellipsis_);
    mark_redraw();
}

void TextElement::set_halign(int32_t halign) {
    if (halign == halign_) return;
    halign_ = halign;
    layout_.set_alignment(draw_halign(halign_), valign_);
    mark_redraw();
}

void TextElement::set_text(std::u16string_view text) {
    if (text == layout_.text()) return;
    layout_.set_text(text);
    content_changed();
}

void TextElement::set_color(Color color) {
    if (color == color_) return;
    color_ = color;
    layout_.set_color(color);
    mark_redraw();
}

void TextElement::set_font(std::shared_ptr<const FontRep> font) {
    if (font == font_) return;
    font_ = font;
    layout_.set_font(std::move(font));
    content_changed();
}

void TextElement::set_highlight(const Highlight& highlight) {
    if (highlight == highlight_) return;
    highlight_ = highlight;
    mark_redraw();
}

void TextElement::content_changed() {
    layout_.invalidate();
    // Only a growing element's extent follows its text; any other keeps its
    // rectangle and just draws the new text.
    if (grow_) invalidate_layout();
    mark_redraw();
}

Size TextElement::measure_text() {
    if (!font_) return {0, 0};
    TextExtent extent = TextDraw::measure(*font_, layout_.text());
    return {extent.width, extent.height};
}

void TextElement::measure_x(SizeRange& range) {
    Element::measure_x(range);
    if (grow_) raise(range, measure_text().width, grow_min_);
}

void TextElement::measure_y(SizeRange& range) {
    Element::measure_y(range);
    if (!grow_) return;
    // Wrapped text is as high as its lines at the width it has now; layout
    // always sets x before y, so the width is current here.
    layout_.layout(size().width);
    int64_t height =
        int64_t{layout_.measured().height} * static_cast<int64_t>(layout_.lines().size());
    raise(range, static_cast<int32_t>(std::min<int64_t>(height, INT32_MAX)), grow_min_);
}

void TextElement::draw_content(RenderSurface& surface, Point position) {
    if (!draw_highlighted(surface, position)) layout_.draw(surface, position, size());
}

bool TextElement::draw_highlighted(RenderSurface& surface, Point position) {
    const std::u16string& text = layout_.text();
    if (highlight_.length == 0 || highlight_.start >= text.size() || wrap_ || !font_ ||
        !font_->has_face() || text.find(u'\n') != std::u16string::npos)
        return false;

    // Placed as the layout places its one line: the same line box, the same
    // cut with an ellipsis, so that the runs fall exactly where the whole
    // line would be drawn (measuring agrees with drawing, glyph for glyph).
    const Size box = size();
    const int32_t line_height = TextDraw::measure(*font_, u"").height;
    int64_t top = position.y;
    if (valign_ == VCENTER)
        top += (box.height - line_height) / 2;
    else if (valign_ == BOTTOM)
        top += box.height - line_height;
    if (top >= int64_t{position.y} + box.height) return true;

    size_t keep = text.size();
    if (ellipsis_) keep = TextDraw::ellipsis_length(*font_, text, box.width);
    const bool cut = keep < text.size();
    const std::u16string_view shown = std::u16string_view(text).substr(0, keep);
    const std::u16string_view mark(&TextDraw::kEllipsis, 1);
    int64_t width = TextDraw::measure(*font_, shown).width;
    if (cut) width += TextDraw::measure(*font_, mark).width;

    const int halign = draw_halign(halign_);
    int64_t pen = position.x;
    if (halign == TextDraw::kCentre)
        pen += (box.width - width) / 2;
    else if (halign == TextDraw::kRight)
        pen += box.width - width;

    const size_t from = std::min(highlight_.start, shown.size());
    const size_t to =
        std::min(highlight_.start + std::min(highlight_.length, text.size()), shown.size());
    ClipScope clip(surface, position, box);
    const int64_t right = int64_t{position.x} + box.width;
    auto run = [&](std::u16string_view part, Color color) {
        if (part.empty() || pen >= right) return;
        const int32_t x = static_cast<int32_t>(pen);
        TextDraw::draw(*font_, surface, color, part, {x, static_cast<int32_t>(top)},
                       {static_cast<int32_t>(right - x), line_height}, TextDraw::kLeft,
                       TextDraw::kTop, false);
        pen += TextDraw::measure(*font_, part).width;
    };
    run(shown.substr(0, from), color_);
    run(shown.substr(from, to - from), highlight_.color);
    run(shown.substr(to), color_);
    if (cut) run(mark, color_);
    return true;
}
