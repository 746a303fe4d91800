#pragma once
// Cuts message text into plain text, links, phone numbers and smiley codes.
//
// A word is what lies between two break characters: space, comma,
// semicolon, parentheses, angle, square and curly brackets, double quote,
// apostrophe, backslash, line feed, tab, and every other character below 32
// or above 122 (letters beyond ASCII included). Punctuation is those plus
// ". ? ! : - +"; a word's leading punctuation is not part of it.
//
// A link is a word starting with "http://", "https://" or "www.", or ending
// in one of the country and generic suffixes below (all case-sensitive). A
// phone number is a run of digits, spaces, dashes, parentheses and a leading
// plus, standing between punctuation, whose last seven digits number 3, 5,
// 6 or 7. Smiley codes come from the smiley table and win over the word they
// stand in.
//
// Nothing here interprets a link: it is text, handed on as text.
#include <string_view>
#include <vector>

#include "widgets/richtext/RichToken.h"

class SmileyTable;

class RichScanner {
public:
    // Whether text[start, start + length) is a link (see above). Shorter
    // than 3 characters: never.
    static bool is_link(std::u16string_view text, size_t start, size_t length);
    static bool is_link(std::u16string_view word) { return is_link(word, 0, word.size()); }

    // Whether candidate's digits, counted from the end and at most seven,
    // number 3, 5, 6 or 7.
    static bool is_phone_number(std::u16string_view candidate);

    // The tokens of text, in order, without gaps or overlaps: together they
    // cover the text exactly. Empty for an empty text. table may be null (no
    // smileys). Linear in the text's length times the table's first
    // characters; never fails.
    static std::vector<RichToken> scan(std::u16string_view text, const SmileyTable* table);

    // The break and punctuation sets.
    static bool is_break(char16_t c);
    static bool is_punctuation(char16_t c);
};
