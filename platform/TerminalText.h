#pragma once
// Text from messages and contacts on its way to a terminal. Such text is
// hostile: an escape sequence in a sender's name could set the window title,
// clear the screen or write the clipboard (OSC 52) of whoever lists it. Every
// program that prints stored text to a terminal passes it through here first.
#include <string>
#include <string_view>

namespace terminal_text {

enum class LineBreaks {
    Keep,  // "\n" stays a line break (a message body shown on its own lines)
    Mark,  // "\n" shows as "⏎" (one table cell, one line)
};

// The text as UTF-8 with every control character replaced: C0 controls (ESC
// among them) and DEL by " ", C1 controls (U+0080..U+009F, which some
// terminals obey as CSI and OSC) by " ", "\r" and a lone "\n" per line_breaks.
// Invalid UTF-16 becomes U+FFFD. Printable text, Cyrillic and emoji included,
// passes unchanged.
std::string clean(std::u16string_view text, LineBreaks line_breaks = LineBreaks::Mark);

// The same for text that is UTF-8 already (invalid sequences become U+FFFD).
std::string clean_utf8(std::string_view text, LineBreaks line_breaks = LineBreaks::Mark);

}  // namespace terminal_text
