#pragma once
// Splits text into vCards and their content lines, for versions 2.1, 3.0 and
// 4.0 as address books and CardDAV sync tools write them:
//
// - line ends CRLF, LF or a bare CR; a UTF-8 byte-order mark is skipped and
//   UTF-16 text (with a byte-order mark, or plainly recognisable) is read as
//   such;
// - folded lines: a line starting with a space or tab continues the one
//   before. RFC 2425/6350 (3.0, 4.0) drop that one blank; vCard 2.1 keeps it,
//   since its folding inserts a line end only before existing white space;
// - vCard 2.1 QUOTED-PRINTABLE soft line breaks: a value ending in "=" goes on
//   at the start of the next line, whatever that line starts with;
// - BASE64 data (2.1) runs on over unindented lines up to a blank line, so a
//   photo never turns into stray content lines;
// - groups ("item1.TEL"), parameters with quoted values, bare 2.1 parameters;
// - several cards per text, and cards nested in a 2.1 AGENT, which are passed
//   over with their parent.
//
// Decoding values is VCardDecoder's job. The parser never reads outside the
// text it was given; a line that is not a content line is ignored, and a card
// that lacks its END line is skipped and reported in the summary.
#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/contacts/VCard.h"

class VCardParser {
public:
    struct Summary {
        size_t cards = 0;          // complete cards handed to the callback
        size_t skipped = 0;        // cards without END, END lines without BEGIN
        bool found_begin = false;  // the text has at least one BEGIN:VCARD line
        // What was skipped and why, one short line each (the first few only).
        std::vector<std::string> problems;
    };

    // Calls on_card for every complete card of text, in order. The card and
    // every view in it are valid only during the call. The parser may be
    // reused for many texts; it keeps its buffers between calls.
    Summary parse(std::string_view text, const std::function<void(const VCard&)>& on_card);

private:
    class Lines;

    std::string_view as_utf8(std::string_view text);
    std::string_view unfold(std::string_view first, Lines& lines, bool keep_blank);
    std::string_view join_soft_breaks(std::string_view logical, Lines& lines);
    std::string_view join_base64(std::string_view logical, Lines& lines);
    static bool split(std::string_view line, VCardProperty& property);
    static void skip_nested_card(Lines& lines);

    std::string converted_;           // UTF-16 input, as UTF-8
    std::deque<std::string> joined_;  // lines of the current card that had to be joined
    VCard card_;
};
