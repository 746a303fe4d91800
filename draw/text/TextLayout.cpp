#include "draw/text/TextLayout.h"

#include <algorithm>

#include "draw/RenderSurface.h"
#include "draw/text/FontRep.h"
#include "draw/text/TextDraw.h"

namespace {

bool breaks_line(char16_t c) { return c <= 32 || c == 0x200B; }

}  // namespace

std::vector<TextLine> TextLayout::wrap(std::u16string_view text, int32_t width,
                                       std::span<const int32_t> extents, int32_t indent) {
    const int64_t n = static_cast<int64_t>(text.size());
    // Cumulative width of text[0..i]; 0 before the text.
    auto extent = [&](int64_t i) -> int64_t {
        if (i < 0 || extents.empty()) return 0;
        return extents[static_cast<size_t>(
            std::min<int64_t>(i, static_cast<int64_t>(extents.size()) - 1))];
    };
    auto add_line = [](std::vector<TextLine>& lines, int64_t start, int64_t end) {
        lines.push_back(
            {static_cast<int32_t>(start), static_cast<int32_t>(std::max<int64_t>(end - start, 0))});
    };

    std::vector<TextLine> lines;
    int64_t line_start = 0;
    bool first_line = true;
    // Words run from one break character (included, -1 before the text) to the
    // next; they are found as the walk goes, so the text is read only once.
    int64_t before = -1;
    while (before < n) {
        int64_t next = before + 1;
        while (next < n && !breaks_line(text[static_cast<size_t>(next)])) ++next;
        // The word's own width, from just after the break before it to its last
        // character.
        int64_t word_width = extent(next - 1) - extent(before);
        for (int64_t p = std::max<int64_t>(before, 0); p < next; ++p) {
            char16_t c = text[static_cast<size_t>(p)];
            if (c == u'\n') {
                add_line(lines, line_start, p);
                line_start = p + 1;
                first_line = false;
                continue;
            }
            int64_t used = extent(p) - extent(line_start - 1);
            int64_t room_taken = first_line ? indent : 0;
            if (room_taken + used <= width) continue;
            // Breaking at the line start only makes sense on an indented first
            // line: it leaves that line empty. Anywhere else it would only add
            // an empty line.
            bool indented = first_line && indent != 0;
            if (word_width <= width) {
                if (before > line_start || indented) {
                    add_line(lines, line_start, std::max(before, line_start));
                    line_start = before + 1;
                    first_line = false;
                }
            } else if (p > line_start || indented) {
                // Never before a unit that adds no width: the second unit of
                // a surrogate pair, the rest of an emoji sequence drawn as one
                // picture, a selector or mark belonging to the character
                // before it.
                bool joined = p > line_start && extent(p) == extent(p - 1);
                if (!joined) {
                    add_line(lines, line_start, p);
                    line_start = p;
                    first_line = false;
                }
            }
        }
        before = next;
    }
    add_line(lines, line_start, n);
    return lines;
}

void TextLayout::set_text(std::u16string_view text) {
    if (text == text_) return;
    text_ = std::u16string(text);
    invalidate();
}

void TextLayout::set_font(std::shared_ptr<const FontRep> font) {
    if (font == font_) return;
    font_ = std::move(font);
    invalidate();
}

void TextLayout::set_wrap(bool wrap) {
    if (wrap == wrap_) return;
    wrap_ = wrap;
    invalidate();
}

void TextLayout::invalidate() {
    lines_.clear();
    measured_ = {-1, -1};
}

void TextLayout::layout(int32_t width) {
    bool valid = !lines_.empty() && measured_ != Size{-1, -1};
    if (valid && (!wrap_ || width == laid_out_width_)) return;
    TextExtent extent{};
    if (font_)
        extent = TextDraw::measure(*font_, text_, -1, &extents_);
    else
        extents_.assign(text_.size(), 0);
    measured_ = {extent.width, extent.height};
    if (wrap_)
        lines_ = wrap(text_, width, extents_, 0);
    else
        lines_.assign(1, TextLine{0, static_cast<int32_t>(text_.size())});
    laid_out_width_ = width;
}

void TextLayout::draw(RenderSurface& surface, Point position, Size size) {
    if (!font_ || !font_->has_face() || text_.empty()) return;
    layout(size.width);
    const int64_t line_height = measured_.height;
    const int64_t total = line_height * static_cast<int64_t>(lines_.size());
    int64_t top = position.y;
    if (valign_ == TextDraw::kMiddle)
        top += (size.height - total) / 2;
    else if (valign_ == TextDraw::kBottom)
        top += size.height - total;
    const int64_t bottom = int64_t{position.y} + size.height;
    const int64_t clip_top = surface.clip().top;

    const bool cut_at_bottom = wrap_ && ellipsis_;
    for (size_t i = 0; i < lines_.size(); ++i) {
        int64_t line_top = top + static_cast<int64_t>(i) * line_height;
        // Not even the first line fits: the ellipsis alone says there is text.
        if (cut_at_bottom && line_top + line_height > bottom) {
            std::u16string_view mark(&TextDraw::kEllipsis, 1);
            TextDraw::draw(*font_, surface, color_, mark, position, size, halign_,
                           TextDraw::kBottom, false);
            break;
        }
        if (line_top >= bottom) break;
        // The last line that fits, with more below it: its text ends in the
        // ellipsis, also where a line would start exactly at the bottom.
        bool last_shown =
            cut_at_bottom && i + 1 < lines_.size() && line_top + 2 * line_height > bottom;
        // Lines above the clip (a tall block centred in a short element) show nothing.
        if (line_top + line_height <= clip_top) {
            if (last_shown) break;
            continue;
        }
        const TextLine& line = lines_[i];
        std::u16string_view text = std::u16string_view(text_).substr(
            static_cast<size_t>(line.start), static_cast<size_t>(line.length));
        if (last_shown) {
            size_t keep = TextDraw::length_before_ellipsis(*font_, text, size.width);
            cut_line_.assign(text.substr(0, keep));
            cut_line_.push_back(TextDraw::kEllipsis);
            text = cut_line_;
        }
        TextDraw::draw(*font_, surface, color_, text, {position.x, static_cast<int32_t>(line_top)},
                       {size.width, static_cast<int32_t>(line_height)}, halign_, TextDraw::kTop,
                       ellipsis_);
        if (last_shown) break;
    }
}
