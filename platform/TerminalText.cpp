#include "platform/TerminalText.h"

#include "platform/Utf16.h"

namespace terminal_text {

std::string clean(std::u16string_view text, LineBreaks line_breaks) {
    std::u16string out;
    out.reserve(text.size());
    for (char16_t c : text) {
        if (c == u'\n') {
            out.push_back(line_breaks == LineBreaks::Keep ? u'\n' : u'⏎');
        } else if (c < 0x20 || c == 0x7F || (c >= 0x80 && c <= 0x9F)) {
            out.push_back(u' ');
        } else {
            out.push_back(c);
        }
    }
    // Lone surrogates become U+FFFD in the conversion.
    return utf16::to_utf8(out);
}

std::string clean_utf8(std::string_view text, LineBreaks line_breaks) {
    return clean(utf16::from_utf8(text), line_breaks);
}

}  // namespace terminal_text
