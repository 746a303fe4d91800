#pragma once
// The text of the native edit box with its caret and selection, and the
// editing operations on them. Positions are UTF-16 offsets that never fall
// inside a surrogate pair. The text keeps line feeds as they are and never
// holds carriage returns.
//
// Text that comes in (typed, pasted, composed) is cleaned first: carriage
// returns go (a CR LF pair or a lone CR becomes one line feed), the other
// control characters go, line feeds become spaces in a single-line box, and
// an unpaired surrogate becomes U+FFFD, so the text stays valid UTF-16.
#include <cstddef>
#include <string>
#include <string_view>

class EditBuffer {
public:
    // A half-open range [begin, end) of the text.
    struct Range {
        size_t begin = 0;
        size_t end = 0;
        bool empty() const { return begin == end; }
        friend bool operator==(const Range&, const Range&) = default;
    };

    // input as the box takes it (see above).
    static std::u16string clean(std::u16string_view input, bool multi_line);

    // Replaces the whole text, removing its carriage returns only (the
    // program's own text is kept as it is); the caret goes after the last
    // character, with nothing selected.
    void set_text(std::u16string_view text);
    const std::u16string& text() const { return text_; }

    size_t caret() const { return caret_; }
    size_t anchor() const { return anchor_; }
    Range selection() const;
    std::u16string_view selected_text() const;

    // Moves the caret to position (put on a character boundary, at most the
    // text's length). extend keeps the anchor, so the selection grows or
    // shrinks; otherwise nothing stays selected.
    void move_caret(size_t position, bool extend);
    void select_all();

    // Replaces the selection (or inserts at the caret) with text as given;
    // the caret follows it. Callers clean outside text first.
    void replace_selection(std::u16string_view text);
    // Backspace and Del: the selection, else the character before or after
    // the caret (a surrogate pair is one character). False when nothing was
    // there to erase.
    bool erase_backward();
    bool erase_forward();

    // The character boundaries around position.
    size_t previous_boundary(size_t position) const;
    size_t next_boundary(size_t position) const;
    // position moved back onto a character boundary, and to the text.
    size_t snap(size_t position) const;

private:
    std::u16string text_;
    size_t caret_ = 0;
    size_t anchor_ = 0;
};
