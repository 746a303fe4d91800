#pragma once
// The contacts form's filter: the typed text, found anywhere in a contact's
// name or number without regard to letter case.
//
// Case is compared through the full Unicode upper-case mapping. Where that
// mapping changes a text's length (a German sharp s becomes "SS"), the
// characters it would lengthen are compared as they are, so that a position
// found in the mapped text is the same position in the text itself: the form
// colours the match where it was found.
#include <cstddef>
#include <string>
#include <string_view>

struct PhoneEntry;

class ContactFilter {
public:
    static constexpr size_t npos = std::u16string_view::npos;

    explicit ContactFilter(std::u16string_view text = {});

    const std::u16string& text() const { return text_; }
    bool empty() const { return text_.empty(); }

    // The position of the first occurrence of the filter in text, compared
    // without regard to case, or npos. An empty filter is found at 0.
    size_t find(std::u16string_view text) const;
    // Whether the entry's name or number holds the filter; every entry passes
    // an empty filter.
    bool passes(const PhoneEntry& entry) const;

    // Whether text is a phone number typed by hand: not empty, and only the
    // digits 0 to 9, spaces, "+" and "-".
    static bool typed_number(std::u16string_view text);
    // The ruler letter of an entry: the first character (a whole surrogate
    // pair) of its name, or of its number when it has no name, upper-cased.
    // Empty for an entry with neither.
    static std::u16string letter_of(const PhoneEntry& entry);
    // text mapped to upper case unit for unit (see above).
    static std::u16string fold(std::u16string_view text);

private:
    std::u16string text_;
    std::u16string folded_;
};
