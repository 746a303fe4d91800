#include "widgets/edit/EditBuffer.h"

#include <algorithm>

namespace {

bool is_high(char16_t c) { return c >= 0xD800 && c < 0xDC00; }
bool is_low(char16_t c) { return c >= 0xDC00 && c < 0xE000; }

constexpr char16_t kReplacement = 0xFFFD;

}  // namespace

std::u16string EditBuffer::clean(std::u16string_view input, bool multi_line) {
    std::u16string out;
    out.reserve(input.size());
    for (size_t i = 0; i < input.size(); ++i) {
        char16_t c = input[i];
        if (c == u'\r') {
            // CR LF and a lone CR are both one line break.
            if (i + 1 < input.size() && input[i + 1] == u'\n') continue;
            c = u'\n';
        }
        if (c == u'\n') {
            out += multi_line ? u'\n' : u' ';
        } else if (c == u'\t') {
            out += u' ';
        } else if (c < 0x20 || (c >= 0x7F && c < 0xA0)) {
            continue;
        } else if (is_high(c) && i + 1 < input.size() && is_low(input[i + 1])) {
            out += c;
            out += input[++i];
        } else if (is_high(c) || is_low(c)) {
            out += kReplacement;
        } else {
            out += c;
        }
    }
    return out;
}

void EditBuffer::set_text(std::u16string_view text) {
    text_.clear();
    text_.reserve(text.size());
    for (char16_t c : text)
        if (c != u'\r') text_ += c;
    caret_ = anchor_ = text_.size();
}

EditBuffer::Range EditBuffer::selection() const {
    return {std::min(caret_, anchor_), std::max(caret_, anchor_)};
}

std::u16string_view EditBuffer::selected_text() const {
    Range range = selection();
    return std::u16string_view(text_).substr(range.begin, range.end - range.begin);
}

size_t EditBuffer::snap(size_t position) const {
    position = std::min(position, text_.size());
    if (position > 0 && position < text_.size() && is_low(text_[position]) &&
        is_high(text_[position - 1]))
        --position;
    return position;
}

size_t EditBuffer::previous_boundary(size_t position) const {
    position = snap(position);
    if (position == 0) return 0;
    return snap(position - 1);
}

size_t EditBuffer::next_boundary(size_t position) const {
    position = snap(position);
    if (position >= text_.size()) return text_.size();
    if (is_high(text_[position]) && position + 1 < text_.size() && is_low(text_[position + 1]))
        return position + 2;
    return position + 1;
}

void EditBuffer::move_caret(size_t position, bool extend) {
    caret_ = snap(position);
    if (!extend) anchor_ = caret_;
}

void EditBuffer::select_all() {
    anchor_ = 0;
    caret_ = text_.size();
}

void EditBuffer::replace_selection(std::u16string_view text) {
    Range range = selection();
    text_.replace(range.begin, range.end - range.begin, text);
    caret_ = anchor_ = range.begin + text.size();
}

bool EditBuffer::erase_backward() {
    if (selection().empty()) {
        if (caret_ == 0) return false;
        anchor_ = previous_boundary(caret_);
    }
    replace_selection({});
    return true;
}

bool EditBuffer::erase_forward() {
    if (selection().empty()) {
        if (caret_ >= text_.size()) return false;
        anchor_ = next_boundary(caret_);
    }
    replace_selection({});
    return true;
}
