#include "forms/contacts/ContactFilter.h"

#include "chats/PhoneEntry.h"
#include "platform/Paths.h"

namespace {

bool high_surrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool low_surrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// The length of the character at the start of text: 2 for a whole surrogate
// pair, else 1.
size_t character_length(std::u16string_view text) {
    return text.size() >= 2 && high_surrogate(text[0]) && low_surrogate(text[1]) ? 2 : 1;
}

}  // namespace

ContactFilter::ContactFilter(std::u16string_view text) : text_(text), folded_(fold(text)) {}

std::u16string ContactFilter::fold(std::u16string_view text) {
    // Upper-case mappings only ever lengthen a text, so a mapped text of the
    // same length maps each unit to one unit.
    std::u16string whole = paths::to_upper(text);
    if (whole.size() == text.size()) return whole;
    std::u16string folded;
    folded.reserve(text.size());
    for (size_t at = 0; at < text.size();) {
        const std::u16string_view one = text.substr(at, character_length(text.substr(at)));
        std::u16string upper = paths::to_upper(one);
        folded += upper.size() == one.size() ? std::u16string_view(upper) : one;
        at += one.size();
    }
    return folded;
}

size_t ContactFilter::find(std::u16string_view text) const {
    if (folded_.empty()) return 0;
    if (text.size() < folded_.size()) return npos;
    return fold(text).find(folded_);
}

bool ContactFilter::passes(const PhoneEntry& entry) const {
    return empty() || find(entry.name) != npos || find(entry.number) != npos;
}

bool ContactFilter::typed_number(std::u16string_view text) {
    if (text.empty()) return false;
    for (char16_t c : text)
        if (!(c >= u'0' && c <= u'9') && c != u' ' && c != u'+' && c != u'-') return false;
    return true;
}

std::u16string ContactFilter::letter_of(const PhoneEntry& entry) {
    const std::u16string_view shown = entry.name.empty() ? entry.number : entry.name;
    if (shown.empty()) return {};
    return paths::to_upper(shown.substr(0, character_length(shown)));
}
