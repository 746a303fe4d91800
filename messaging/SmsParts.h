#pragma once
// How many messages a text takes when it is sent, and how much room the last
// one has left: the counter under the chat form's edit field.
//
// A text whose every character is in the GSM 03.38 default alphabet or its
// extension table is sent in 7-bit septets: 160 fit one message, 153 each
// part of a longer one (the rest of the part holds the concatenation header).
// An extension character (form feed, ^ { } [ ] ~ \ | and the euro sign) is
// sent as an escape septet followed by its own, so it takes two. Any other
// text is sent as UTF-16: 70 code units fit one message, 67 each part.
#include <cstdint>
#include <string>
#include <string_view>

struct SmsParts {
    int32_t parts = 1;
    // Septets (7-bit) or code units (UTF-16) still free in the last part;
    // 0 when the text fills it exactly.
    int32_t left = 160;
    bool seven_bit = true;

    // The count for text. The empty text is one 7-bit message with 160 left.
    static SmsParts count(std::u16string_view text);
    // Whether c is sent in 7 bits (default alphabet or extension table).
    static bool is_seven_bit(char16_t c);
    // Whether c is a character of the extension table (two septets).
    static bool is_extension(char16_t c);

    // "<parts> <sms_word> (<left>)", as in "1 SMS (160)"; sms_word is the
    // language's word for a message.
    std::u16string text(std::u16string_view sms_word) const;

    friend bool operator==(const SmsParts&, const SmsParts&) = default;
};
