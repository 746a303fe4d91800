#include "widgets/richtext/RichTextElement.h"

// Index:
//   content: set_text, add_text, clear, the skin attributes
//   line breaking: plan_for
//   placing: apply_plan, arrange_x, arrange_y, measuring
//   links: press_group, link_tapped

#include <algorithm>

#include "draw/text/TextDraw.h"
#include "draw/text/TextLayout.h"
#include "platform/Log.h"
#include "platform/TerminalText.h"
#include "skin/Properties.h"
#include "skin/layout/Layout.h"
#include "widgets/richtext/LinkListener.h"
#include "widgets/richtext/RichScanner.h"
#include "widgets/richtext/RichTextPiece.h"
#include "widgets/richtext/SmileyElement.h"
#include "widgets/richtext/SmileyTable.h"

namespace {

// Children made by code come from no skin node; the base element ignores
// the properties it is handed for them.
Properties& code_properties() {
    static Properties properties;
    return properties;
}

int32_t halign_from_name(std::u16string_view name) {
    if (name == u"LEFT") return RichTextElement::LEFT;
    if (name == u"RIGHT") return RichTextElement::RIGHT;
    if (name == u"JUSTIFY") return RichTextElement::JUSTIFY;
    return RichTextElement::CENTER;
}

int32_t valign_from_name(std::u16string_view name) {
    if (name == u"VCENTER") return RichTextElement::VCENTER;
    if (name == u"BOTTOM") return RichTextElement::BOTTOM;
    return RichTextElement::TOP;
}

// The width of text[start, start + length) from cumulative extents.
int32_t span_width(const std::vector<int32_t>& extents, int32_t start, int32_t length) {
    if (length <= 0 || extents.empty()) return 0;
    auto at = [&](int32_t i) {
        return extents[std::min(static_cast<size_t>(i), extents.size() - 1)];
    };
    return at(start + length - 1) - (start > 0 ? at(start - 1) : 0);
}

}  // namespace

RichTextElement::RichTextElement() = default;

RichTextElement::~RichTextElement() {
    // The children go with the base; the lists pointing at them go first.
    items_.clear();
    pieces_.clear();
    placed_.clear();
}

// ---- Content ----

void RichTextElement::set_text(std::u16string_view text, const SmileyTable* table,
                               std::shared_ptr<const FontRep> font,
                               std::shared_ptr<const FontRep> link_font, Color text_color,
                               Color link_color, LinkListener* listener) {
    clear();
    text_ = text;
    listener_ = listener;
    if (!font) font = font_;
    if (!link_font) link_font = font;
    for (const RichToken& token : RichScanner::scan(text, table)) {
        std::u16string_view piece =
            text.substr(static_cast<size_t>(token.start), static_cast<size_t>(token.length));
        if (token.kind == RichToken::SMILEY) {
            auto index = static_cast<size_t>(token.smiley);
            SmileyTable::Drawn drawn = table->pictures(index, scale_shift_);
            // A smiley without its picture vanishes from the text.
            if (drawn.strip.size().height <= 0) continue;
            auto smiley =
                std::make_unique<SmileyElement>(std::move(drawn.strip), std::move(drawn.mask),
                                                std::u16string(piece), drawn.scale_shift);
            Element* child = smiley.get();
            add_child(std::move(smiley), code_properties());
            items_.push_back(Item{child, {}});
            continue;
        }
        Run run{std::u16string(piece), font, font, text_color, false, {}};
        if (token.kind == RichToken::LINK) {
            run.pressed_font = link_font;
            run.color = link_color;
            run.link = true;
        }
        add_run(std::move(run));
    }
    content_changed();
}

void RichTextElement::add_text(std::u16string_view text, std::shared_ptr<const FontRep> font,
                               std::shared_ptr<const FontRep> pressed_font, Color color) {
    if (!font) font = font_;
    if (!pressed_font) pressed_font = font;
    add_run(Run{std::u16string(text), std::move(font), std::move(pressed_font), color, false, {}});
    content_changed();
}

void RichTextElement::add_run(Run run) {
    if (run.text.empty() || !run.font) return;
    // Without wrapping, a line feed would end nothing: it reads as a space.
    if (!wrap_) std::replace(run.text.begin(), run.text.end(), u'\n', u' ');
    TextDraw::measure(*run.font, run.text, -1, &run.extents);
    items_.push_back(Item{nullptr, std::move(run)});
}

void RichTextElement::clear() {
    items_.clear();
    destroy_children();
    text_.clear();
    content_changed();
}

void RichTextElement::content_changed() {
    plan_.width = -1;
    invalidate_layout();
    mark_redraw();
}

void RichTextElement::set_wrap(bool wrap) {
    if (wrap == wrap_) return;
    wrap_ = wrap;
    content_changed();
}

void RichTextElement::set_ellipsis(bool ellipsis) {
    if (ellipsis == ellipsis_) return;
    ellipsis_ = ellipsis;
    content_changed();
}

void RichTextElement::set_halign(int32_t halign) {
    halign_ = halign;
    content_changed();
}

void RichTextElement::set_valign(int32_t valign) {
    valign_ = valign;
    content_changed();
}

void RichTextElement::set_text(std::u16string_view id, std::u16string_view text) {
    // Not passed on: the pieces are text elements without an id of their
    // own, and must not take a text meant for someone else.
    if (id == this->id())
        set_text(text, SmileyTable::instance(), font_, link_font_, color_, link_color_, listener_);
}

void RichTextElement::load_from_node(Properties& properties, SkinNode node) {
    Element::load_from_node(properties, node);
    scale_shift_ = properties.scale_shift();
    grow_ = properties.integer(node, u"grow", 0) != 0;
    wrap_ = properties.integer(node, u"wrap", 0) != 0;
    ellipsis_ = properties.integer(node, u"ellipsis", 0) != 0;
    font_ = properties.font(node, u"font");
    link_font_ = properties.font(node, u"link_font", font_);
    color_ = properties.color(node, u"color", Color{0, 0, 0, 255});
    link_color_ = properties.color(node, u"link_color", color_);
    halign_ = halign_from_name(properties.string(node, u"halign"));
    valign_ = valign_from_name(properties.string(node, u"valign"));
    set_text(properties.translate(properties.string(node, u"text")), SmileyTable::instance(), font_,
             link_font_, color_, link_color_, listener_);
}

void RichTextElement::remove_child(Element* child, size_t index) {
    // Keep the lists in step with the children, whoever removes one.
    std::erase_if(items_, [child](const Item& item) { return item.child == child; });
    std::erase_if(pieces_, [child](const RichTextPiece* piece) { return piece == child; });
    std::erase(placed_, child);
    if (!applying_) {
        lines_.clear();
        plan_.width = -1;
    }
    Element::remove_child(child, index);
}

// ---- Line breaking ----

int32_t RichTextElement::child_width(Element& child) {
    return child.range_x().preferred + child.rule_x().border_min + child.rule_x().border_max;
}

int32_t RichTextElement::child_height(Element& child) {
    return child.range_y().preferred + child.rule_y().border_min + child.rule_y().border_max;
}

const RichTextElement::Plan& RichTextElement::plan_for(int32_t width) {
    if (plan_.width == width) return plan_;
    plan_.width = width;
    auto& slots = plan_.slots;
    auto& lines = plan_.lines;
    slots.clear();
    lines.clear();
    int32_t line_width = 0;
    auto new_line = [&] {
        if (!lines.empty()) {
            lines.back().end = slots.size();
            lines.back().width = line_width;
        }
        lines.push_back({slots.size(), slots.size(), 0});
        line_width = 0;
    };
    auto add = [&](Slot slot) {
        slots.push_back(slot);
        line_width += slot.width;
    };

    for (size_t i = 0; i < items_.size(); ++i) {
        const Item& item = items_[i];
        if (item.child) {
            if (!item.child->visible()) continue;
            int32_t w = child_width(*item.child);
            if (lines.empty() || (wrap_ && line_width + w > width)) new_line();
            add({i, 0, 0, w});
            continue;
        }
        const Run& run = item.run;
        if (lines.empty()) new_line();
        std::vector<TextLine> pieces;
        if (wrap_)
            pieces = TextLayout::wrap(run.text, width, run.extents, line_width);
        else
            pieces.push_back({0, static_cast<int32_t>(run.text.size())});
        for (size_t k = 0; k < pieces.size(); ++k) {
            if (k > 0) new_line();
            const TextLine piece = pieces[k];
            if (halign_ != JUSTIFY) {
                if (piece.length > 0)
                    add({i, piece.start, piece.length,
                         span_width(run.extents, piece.start, piece.length)});
                continue;
            }
            // Justified text moves word by word; each word keeps the spaces
            // after it, so lines that are not spread still read as words.
            int32_t start = piece.start;
            const int32_t end = piece.start + piece.length;
            while (start < end) {
                int32_t stop = start;
                while (stop < end && run.text[static_cast<size_t>(stop)] != u' ') ++stop;
                while (stop < end && run.text[static_cast<size_t>(stop)] == u' ') ++stop;
                add({i, start, stop - start, span_width(run.extents, start, stop - start)});
                start = stop;
            }
        }
    }
    if (ellipsis_ && !wrap_) cut_line(width, line_width);
    if (!lines.empty()) {
        lines.back().end = slots.size();
        lines.back().width = line_width;
    }
    return plan_;
}

void RichTextElement::cut_line(int32_t width, int32_t& line_width) {
    // The one line keeps what fits; the text piece that crosses the edge
    // keeps the rest of the room and ends in "…"; a picture that would cross
    // it goes, and so does everything after.
    auto& slots = plan_.slots;
    int32_t used = 0;
    for (size_t k = 0; k < slots.size(); ++k) {
        Slot& slot = slots[k];
        if (used + slot.width <= width) {
            used += slot.width;
            continue;
        }
        size_t keep = k;
        if (!items_[slot.item].child && width - used > 0) {
            slot.width = width - used;
            slot.cut = true;
            used = width;
            keep = k + 1;
        }
        slots.resize(keep);
        break;
    }
    line_width = used;
}

// ---- Placing ----

void RichTextElement::apply_plan() {
    placed_.clear();
    size_t used = 0;
    for (const Slot& slot : plan_.slots) {
        Item& item = items_[slot.item];
        if (item.child) {
            placed_.push_back(item.child);
            continue;
        }
        if (used == pieces_.size()) {
            auto piece = std::make_unique<RichTextPiece>(*this);
            piece->set_rule_y({LayoutMode::CENTER, 0, 0});
            pieces_.push_back(piece.get());
            add_child(std::move(piece), code_properties());
        }
        RichTextPiece* piece = pieces_[used++];
        const Run& run = item.run;
        piece->assign(std::u16string_view(run.text).substr(static_cast<size_t>(slot.start),
                                                           static_cast<size_t>(slot.length)),
                      run.font, run.pressed_font, run.color,
                      run.link ? static_cast<int32_t>(slot.item) : -1);
        piece->set_ellipsis(slot.cut);
        placed_.push_back(piece);
    }
    // Pieces the new layout does not need are deleted, the last first.
    applying_ = true;
    while (pieces_.size() > used) {
        RichTextPiece* extra = pieces_.back();
        take_child(index_of(extra));  // destroyed here; remove_child drops it from the lists
    }
    applying_ = false;
    lines_ = plan_.lines;
}

void RichTextElement::arrange_x() {
    const int32_t width = size().width;
    plan_for(width);
    apply_plan();
    const Point origin = position();
    for (const Line& line : lines_) {
        int32_t offset = 0;
        const int32_t free = width - line.width;
        if (halign_ == RIGHT) offset = free;
        if (halign_ == CENTER) offset = free / 2;
        const size_t count = line.end - line.first;
        const bool spread = halign_ == JUSTIFY && &line != &lines_.back() && count > 1;
        int32_t x = origin.x + offset;
        for (size_t k = 0; k < count; ++k) {
            Element* child = placed_[line.first + k];
            const Slot& slot = plan_.slots[line.first + k];
            int32_t shift = spread ? static_cast<int32_t>(static_cast<int64_t>(k) * free /
                                                          static_cast<int64_t>(count - 1))
                                   : 0;
            const AxisRule& rule = child->rule_x();
            child->set_x_extent(x + shift + rule.border_min,
                                slot.width - rule.border_min - rule.border_max);
            x += slot.width;
        }
    }
}

std::vector<int32_t> RichTextElement::line_heights() {
    std::vector<int32_t> heights;
    heights.reserve(plan_.lines.size());
    for (const Line& line : plan_.lines) {
        int32_t height = 0;
        for (size_t i = line.first; i < line.end; ++i) {
            const Item& item = items_[plan_.slots[i].item];
            height =
                std::max(height, item.child ? child_height(*item.child) : item.run.font->height());
        }
        heights.push_back(height);
    }
    return heights;
}

void RichTextElement::arrange_y() {
    // x is arranged first, but measuring in between may have planned for
    // another width; place along x again then.
    if (plan_.width != size().width || placed_.size() != plan_.slots.size()) arrange_x();
    const std::vector<int32_t> heights = line_heights();
    int32_t total = 0;
    for (int32_t h : heights) total += h;
    const int32_t free = size().height - total;
    int32_t top = 0;
    if (valign_ == VCENTER) top = std::max(0, free / 2);
    if (valign_ == BOTTOM) top = std::max(0, free);
    top += position().y;
    for (size_t l = 0; l < lines_.size() && l < heights.size(); ++l) {
        const Line& line = lines_[l];
        for (size_t i = line.first; i < line.end; ++i) {
            Element* child = placed_[i];
            const Item& item = items_[plan_.slots[i].item];
            const AxisRule& rule = child->rule_y();
            const int32_t inner = heights[l] - rule.border_min - rule.border_max;
            int32_t height = item.child ? child->range_y().preferred : item.run.font->height();
            int32_t offset = 0;
            switch (rule.mode) {
                case LayoutMode::CENTER:
                    offset = (inner - height) / 2;
                    break;
                case LayoutMode::MAX_SIDE:
                    offset = inner - height;
                    break;
                case LayoutMode::BOTH_SIDE:
                    height = inner;
                    break;
                default:
                    break;
            }
            child->set_y_extent(top + rule.border_min + offset, height);
        }
        top += heights[l];
    }
}

void RichTextElement::measure_x(SizeRange& range) {
    Layout::add_design_size(range, design_size().x);
    if (!grow_) return;
    int32_t width = 0;
    for (const Item& item : items_) {
        if (item.child)
            width += item.child->visible() ? child_width(*item.child) : 0;
        else if (!item.run.extents.empty())
            width += item.run.extents.back();
    }
    range.preferred = std::max(range.preferred, width);
    range.minimum = std::max(range.minimum, width);
}

void RichTextElement::measure_y(SizeRange& range) {
    Layout::add_design_size(range, design_size().y);
    if (!grow_) return;
    plan_for(size().width);
    int32_t total = 0;
    for (int32_t h : line_heights()) total += h;
    range.preferred = std::max(range.preferred, total);
    range.minimum = std::max(range.minimum, total);
}

// ---- Links ----

void RichTextElement::press_group(int32_t group, bool pressed) {
    for (RichTextPiece* piece : pieces_)
        if (piece->group() == group) piece->show_pressed(pressed);
}

void RichTextElement::link_tapped(int32_t group, RichTextPiece& piece) {
    if (group < 0 || static_cast<size_t>(group) >= items_.size()) return;
    // The listener may replace the text, so the link is copied first.
    const std::u16string link = items_[static_cast<size_t>(group)].run.text;
    if (listener_) {
        listener_->link_pressed(link, piece);
        return;
    }
    log() << u"RichTextElement link " << terminal_text::clean(link) << u"\n";
}
