#include "widgets/edit/EditBox.h"

#include <algorithm>

#include "draw/ClipScope.h"
#include "draw/RenderSurface.h"
#include "draw/text/FontRep.h"
#include "draw/text/TextDraw.h"
#include "widgets/edit/EditClipboard.h"

namespace {

// The selection's colours: light text on the system's highlight blue.
constexpr Color kHighlight{0, 120, 215, 255};
constexpr Color kHighlightText{255, 255, 255, 255};

bool types_characters(KeyCode code) {
    auto n = static_cast<int32_t>(code);
    return code == KeyCode::Space || (n >= static_cast<int32_t>(KeyCode::A) &&
                                      n <= static_cast<int32_t>(KeyCode::Digit0) + 9);
}

}  // namespace

// ---- Setup ----

EditBox::EditBox(Lines lines, EditClipboard& clipboard, std::function<void()> changed)
    : lines_(lines), clipboard_(clipboard), changed_(std::move(changed)) {}

void EditBox::set_lines(Lines lines) {
    if (lines == lines_) return;
    lines_ = lines;
    layout_valid_ = false;
    caret_moved();
}

void EditBox::set_style(std::shared_ptr<const FontRep> font, Color text, Color background) {
    if (font != font_) layout_valid_ = false;
    font_ = std::move(font);
    text_color_ = text;
    background_ = background;
    caret_moved();
}

void EditBox::set_rect(Rect rect) {
    if (rect == rect_) return;
    if (rect.size() != rect_.size()) layout_valid_ = false;
    rect_ = rect;
    caret_moved();
}

void EditBox::set_text(std::u16string_view text) {
    buffer_.set_text(text);
    composition_.clear();
    composition_cursor_ = 0;
    layout_valid_ = false;
    caret_moved();
}

// ---- Input ----

bool EditBox::key(const KeyEvent& event) {
    auto index = static_cast<size_t>(event.code);
    if (index >= taken_.size()) return false;
    if (event.code == KeyCode::Shift) shift_ = event.pressed;
    if (event.code == KeyCode::Ctrl) ctrl_ = event.pressed;
    if (!event.pressed) {
        bool taken = taken_[index];
        taken_[index] = false;
        return taken;
    }
    bool taken = edit_key(event);
    taken_[index] = taken;
    return taken;
}

bool EditBox::edit_key(const KeyEvent& event) {
    const bool multi = lines_ == Lines::Multi;
    if (ctrl_) {
        switch (event.code) {
            case KeyCode::A:
                buffer_.select_all();
                caret_moved();
                return true;
            case KeyCode::C:
            case KeyCode::Insert:
                copy();
                return true;
            case KeyCode::X:
                if (buffer_.selection().empty()) return true;
                copy();
                buffer_.replace_selection({});
                text_changed();
                return true;
            case KeyCode::V:
                paste();
                return true;
            default:
                break;
        }
    }
    switch (event.code) {
        case KeyCode::Backspace:
            if (!buffer_.erase_backward()) return false;
            text_changed();
            return true;
        case KeyCode::Del:
            if (shift_ && !buffer_.selection().empty()) copy();
            if (buffer_.erase_forward()) text_changed();
            return true;
        case KeyCode::Insert:
            if (shift_) paste();
            return true;
        case KeyCode::Enter:
            if (!multi) return false;
            type(u"\n");
            return true;
        case KeyCode::Up:
        case KeyCode::Down:
            if (!multi) return false;
            return move_key(event.code);
        case KeyCode::Left:
        case KeyCode::Right:
        case KeyCode::Home:
        case KeyCode::End:
            return move_key(event.code);
        default:
            // Their characters arrive as text; the key itself is the box's.
            return types_characters(event.code);
    }
}

bool EditBox::move_key(KeyCode code) {
    size_t caret = buffer_.caret();
    EditBuffer::Range selection = buffer_.selection();
    size_t to = caret;
    int32_t goal = goal_x_;
    switch (code) {
        case KeyCode::Left:
            // Left without Shift first drops the selection at its start.
            to = !shift_ && !selection.empty() ? selection.begin : buffer_.previous_boundary(caret);
            break;
        case KeyCode::Right:
            to = !shift_ && !selection.empty() ? selection.end : buffer_.next_boundary(caret);
            break;
        case KeyCode::Home:
        case KeyCode::End: {
            const Layout& l = layout();
            const TextLine& line = l.lines[line_of(shown_position(caret))];
            size_t shown = code == KeyCode::Home ? size_t(line.start)
                                                 : size_t(line.start) + size_t(line.length);
            to = text_position(shown);
            break;
        }
        case KeyCode::Up:
        case KeyCode::Down:
            to = vertical_move(code == KeyCode::Up ? -1 : 1);
            goal = goal_x_;
            break;
        default:
            return false;
    }
    buffer_.move_caret(to, shift_);
    caret_moved();
    goal_x_ = code == KeyCode::Up || code == KeyCode::Down ? goal : -1;
    return true;
}

void EditBox::type(std::u16string_view text) {
    bool composing = !composition_.empty();
    composition_.clear();
    composition_cursor_ = 0;
    std::u16string clean = EditBuffer::clean(text, lines_ == Lines::Multi);
    if (clean.empty() && buffer_.selection().empty()) {
        if (composing) caret_moved();
        return;
    }
    buffer_.replace_selection(clean);
    text_changed();
}

void EditBox::set_composition(std::u16string_view text, size_t cursor) {
    composition_ = EditBuffer::clean(text, false);
    composition_cursor_ = std::min(cursor, composition_.size());
    layout_valid_ = false;
    caret_moved();
}

void EditBox::copy() {
    if (!buffer_.selection().empty()) clipboard_.set_text(buffer_.selected_text());
}

void EditBox::paste() {
    std::u16string clean = EditBuffer::clean(clipboard_.text(), lines_ == Lines::Multi);
    if (clean.empty()) return;
    buffer_.replace_selection(clean);
    text_changed();
}

void EditBox::pointer_down(Point point, bool extend) {
    buffer_.move_caret(text_position(hit(point)), extend);
    caret_moved();
}

void EditBox::pointer_move(Point point) {
    buffer_.move_caret(text_position(hit(point)), true);
    caret_moved();
}

void EditBox::release_modifiers() {
    shift_ = false;
    ctrl_ = false;
    taken_.reset();
}

void EditBox::text_changed() {
    layout_valid_ = false;
    caret_moved();
    if (changed_) changed_();
}

void EditBox::caret_moved() {
    goal_x_ = -1;
    dirty_ = true;
    follow_caret();
}

// ---- Layout ----

int32_t EditBox::margin() const {
    // The room the handset's edit control leaves around its text.
    return font_ ? std::max(1, font_->height() / 8) : 1;
}

int32_t EditBox::text_top() {
    // A single line sits in the middle of its box, where the element shows
    // it too; lines of a multi-line box start at the top.
    int32_t top = rect_.top + margin();
    if (lines_ == Lines::Multi) return top;
    return top + std::max(0, inner().height - layout().line_height) / 2;
}

Size EditBox::inner() const {
    Size size = rect_.size();
    return {std::max(0, size.width - 2 * margin()), std::max(0, size.height - 2 * margin())};
}

const EditBox::Layout& EditBox::layout() {
    if (layout_valid_) return layout_;
    Layout& l = layout_;
    const std::u16string& text = buffer_.text();
    size_t at = buffer_.caret();
    l.shown.assign(text, 0, at);
    l.shown += composition_;
    l.shown.append(text, at);
    l.extents.clear();
    l.line_height = 1;
    l.width = 0;
    if (font_) {
        TextExtent extent = TextDraw::measure(*font_, l.shown, -1, &l.extents);
        l.line_height = std::max(1, extent.height);
        l.width = extent.width;
    }
    if (lines_ == Lines::Multi) {
        l.lines = TextLayout::wrap(l.shown, std::max(1, inner().width), l.extents, 0);
    } else {
        l.lines = {TextLine{0, static_cast<int32_t>(l.shown.size())}};
    }
    layout_valid_ = true;
    return l;
}

size_t EditBox::shown_position(size_t position) const {
    size_t at = buffer_.caret();
    if (position < at) return position;
    if (position == at) return at + composition_cursor_;
    return position + composition_.size();
}

size_t EditBox::text_position(size_t shown) const {
    size_t at = buffer_.caret();
    if (shown <= at) return shown;
    if (shown < at + composition_.size()) return at;
    return shown - composition_.size();
}

size_t EditBox::line_of(size_t shown) const {
    const auto& lines = layout_.lines;
    auto after =
        std::upper_bound(lines.begin(), lines.end(), shown,
                         [](size_t p, const TextLine& line) { return p < size_t(line.start); });
    return after == lines.begin() ? 0 : static_cast<size_t>(after - lines.begin()) - 1;
}

int32_t EditBox::x_of(size_t shown) const {
    const auto& extents = layout_.extents;
    if (shown == 0 || extents.empty()) return 0;
    return extents[std::min(shown, extents.size()) - 1];
}

size_t EditBox::hit(Point point) {
    const Layout& l = layout();
    int32_t m = margin();
    int64_t y = int64_t{point.y} - text_top() + scroll().y;
    int64_t row = y < 0 ? 0 : y / l.line_height;
    const TextLine& line = l.lines[std::min<size_t>(l.lines.size() - 1, size_t(row))];
    int64_t x = int64_t{point.x} - rect_.left - m + scroll().x + x_of(size_t(line.start));
    size_t begin = size_t(line.start);
    size_t end = begin + size_t(line.length);
    // The first character whose right edge lies beyond x; the caret goes to
    // whichever of its edges is nearer.
    auto first = std::upper_bound(l.extents.begin() + static_cast<ptrdiff_t>(begin),
                                  l.extents.begin() + static_cast<ptrdiff_t>(end), x);
    size_t index = static_cast<size_t>(first - l.extents.begin());
    if (index >= end) return end;
    int64_t left = x_of(index);
    int64_t right = l.extents[index];
    return shown_boundary(x - left <= right - x ? index : index + 1);
}

size_t EditBox::shown_boundary(size_t shown) const {
    const std::u16string& text = layout_.shown;
    shown = std::min(shown, text.size());
    if (shown > 0 && shown < text.size() && text[shown] >= 0xDC00 && text[shown] < 0xE000 &&
        text[shown - 1] >= 0xD800 && text[shown - 1] < 0xDC00)
        --shown;
    return shown;
}

size_t EditBox::vertical_move(int direction) {
    const Layout& l = layout();
    size_t shown = shown_position(buffer_.caret());
    size_t row = line_of(shown);
    int32_t x = goal_x_ >= 0 ? goal_x_ : x_of(shown) - x_of(size_t(l.lines[row].start));
    goal_x_ = x;
    if ((direction < 0 && row == 0) || (direction > 0 && row + 1 >= l.lines.size()))
        return buffer_.caret();
    size_t target = direction < 0 ? row - 1 : row + 1;
    int32_t m = margin();
    Point at{rect_.left + m - scroll().x + x,
             text_top() - scroll().y + static_cast<int32_t>(target) * l.line_height};
    return text_position(hit(at));
}

void EditBox::follow_caret() {
    const Layout& l = layout();
    Size room = inner();
    size_t shown = shown_position(buffer_.caret());
    int32_t caret_width = std::max(1, l.line_height / 12);
    if (lines_ == Lines::Single) {
        int32_t x = x_of(shown);
        if (x + caret_width > scroll_.x + room.width) scroll_.x = x + caret_width - room.width;
        if (x < scroll_.x) scroll_.x = x;
        scroll_.x = std::clamp(scroll_.x, 0, std::max(0, l.width + caret_width - room.width));
        scroll_.y = 0;
    } else {
        size_t row = line_of(shown);
        int64_t top = int64_t(row) * l.line_height;
        int64_t total = int64_t(l.lines.size()) * l.line_height;
        int64_t y = scroll_.y;
        if (top + l.line_height > y + room.height) y = top + l.line_height - room.height;
        if (top < y) y = top;
        y = std::clamp<int64_t>(y, 0, std::max<int64_t>(0, total - room.height));
        scroll_.y = static_cast<int32_t>(std::min<int64_t>(y, INT32_MAX));
        scroll_.x = 0;
    }
}

Point EditBox::scroll() {
    layout();
    return scroll_;
}

Rect EditBox::caret_rect() {
    const Layout& l = layout();
    size_t shown = shown_position(buffer_.caret());
    size_t row = line_of(shown);
    int32_t m = margin();
    int32_t x = rect_.left + m - scroll_.x + x_of(shown) - x_of(size_t(l.lines[row].start));
    int64_t y = int64_t{text_top()} - scroll_.y + int64_t(row) * l.line_height;
    int32_t top = static_cast<int32_t>(std::clamp<int64_t>(y, rect_.top, rect_.bottom));
    return {std::clamp(x, rect_.left, rect_.right), top, std::clamp(x + 1, rect_.left, rect_.right),
            std::min(rect_.bottom, top + l.line_height)};
}

// ---- Drawing ----

void EditBox::draw(RenderSurface& surface) {
    dirty_ = false;
    if (rect_.empty()) return;
    surface.fill(rect_.top_left(), rect_.size(), background_);
    if (!font_) return;
    const Layout& l = layout();
    int32_t m = margin();
    Size room = inner();
    ClipScope clip(surface, {rect_.left + m, rect_.top + m}, room);
    Point origin{rect_.left + m - scroll_.x, text_top() - scroll_.y};
    size_t first = static_cast<size_t>(scroll_.y / l.line_height);
    size_t last = static_cast<size_t>((int64_t{scroll_.y} + room.height) / l.line_height) + 1;
    for (size_t row = first; row < std::min(last, l.lines.size()); ++row) {
        Point line_origin{origin.x - x_of(size_t(l.lines[row].start)),
                          origin.y + static_cast<int32_t>(row) * l.line_height};
        draw_line(surface, l.lines[row], line_origin);
    }
    size_t shown = shown_position(buffer_.caret());
    size_t row = line_of(shown);
    int32_t caret_width = std::max(1, l.line_height / 12);
    surface.fill({origin.x + x_of(shown) - x_of(size_t(l.lines[row].start)),
                  origin.y + static_cast<int32_t>(row) * l.line_height},
                 {caret_width, l.line_height}, text_color_);
}

void EditBox::draw_line(RenderSurface& surface, const TextLine& line, Point origin) {
    // Only the characters within sight are drawn: a single line may hold a
    // whole pasted book.
    const Layout& l = layout_;
    size_t begin = size_t(line.start);
    size_t end = begin + size_t(line.length);
    int32_t left = scroll_.x + x_of(begin);
    int32_t right = left + inner().width;
    auto lo = std::upper_bound(l.extents.begin() + static_cast<ptrdiff_t>(begin),
                               l.extents.begin() + static_cast<ptrdiff_t>(end), left);
    size_t from = static_cast<size_t>(lo - l.extents.begin());
    size_t to = from;
    while (to < end && x_of(to) <= right) ++to;
    from = shown_boundary(std::min(from, end));
    if (to < end && shown_boundary(to) != to) ++to;
    auto span = [&](size_t a, size_t b, Color color) {
        if (a >= b) return;
        std::u16string_view piece = std::u16string_view(l.shown).substr(a, b - a);
        int32_t x = origin.x + x_of(a);
        // Glyphs may reach past their advance (italics): a little room more.
        TextDraw::draw(*font_, surface, color, piece, {x, origin.y},
                       {x_of(b) - x_of(a) + l.line_height, l.line_height}, TextDraw::kLeft,
                       TextDraw::kTop, false);
    };
    span(from, to, text_color_);

    EditBuffer::Range selection = buffer_.selection();
    if (composition_.empty() && !selection.empty()) {
        size_t a = std::clamp(selection.begin, from, to);
        size_t b = std::clamp(selection.end, from, to);
        if (a < b) {
            surface.fill({origin.x + x_of(a), origin.y}, {x_of(b) - x_of(a), l.line_height},
                         kHighlight);
            span(a, b, kHighlightText);
        }
    }
    if (!composition_.empty()) {
        size_t a = std::clamp(buffer_.caret(), begin, end);
        size_t b = std::clamp(buffer_.caret() + composition_.size(), begin, end);
        int32_t thickness = std::max(1, l.line_height / 16);
        if (a < b)
            surface.fill({origin.x + x_of(a), origin.y + l.line_height - thickness},
                         {x_of(b) - x_of(a), thickness}, text_color_);
    }
}
