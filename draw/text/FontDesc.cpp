#include "draw/text/FontDesc.h"

#include <limits>

namespace {

bool is_space(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\f' || c == u'\v';
}

void skip_spaces(std::u16string_view text, size_t& pos) {
    while (pos < text.size() && is_space(text[pos])) ++pos;
}

// A decimal integer with an optional sign at pos, ending at white space or the
// end of the text. Moves pos past it only when it is well formed and fits in
// 32 bits.
bool read_int(std::u16string_view text, size_t& pos, int32_t& value) {
    size_t p = pos;
    bool negative = false;
    if (p < text.size() && (text[p] == u'-' || text[p] == u'+')) negative = text[p++] == u'-';
    size_t digits_start = p;
    int64_t v = 0;
    while (p < text.size() && text[p] >= u'0' && text[p] <= u'9') {
        v = v * 10 + (text[p] - u'0');
        if (v > std::numeric_limits<int32_t>::max()) return false;
        ++p;
    }
    if (p == digits_start) return false;
    if (p < text.size() && !is_space(text[p])) return false;  // "12px" is not a number
    value = static_cast<int32_t>(negative ? -v : v);
    pos = p;
    return true;
}

}  // namespace

FontDesc FontDesc::parse(std::u16string_view text, int32_t scale) {
    FontDesc desc;
    desc.scale = scale;
    size_t pos = 0;
    skip_spaces(text, pos);
    int32_t value = 0;
    // A negative size has no meaning; it is treated like a missing field.
    if (!read_int(text, pos, value) || value < 0) return desc;
    desc.size = value;
    for (bool* flag : {&desc.bold, &desc.italic, &desc.underline}) {
        skip_spaces(text, pos);
        if (!read_int(text, pos, value)) return desc;
        *flag = value != 0;
    }
    skip_spaces(text, pos);
    size_t end = text.size();
    while (end > pos && is_space(text[end - 1])) --end;
    if (end > pos) desc.face = std::u16string(text.substr(pos, end - pos));
    return desc;
}

FontDesc FontDesc::application() {
    FontDesc desc;
    desc.size = 10;
    return desc;
}

FontDesc FontDesc::empty() {
    FontDesc desc;
    desc.size = 0;
    desc.face = u"Empty";
    return desc;
}

std::u16string FontDesc::to_text() const {
    std::string head = std::to_string(size) + (bold ? " 1" : " 0") + (italic ? " 1" : " 0") +
                       (underline ? " 1 " : " 0 ");
    return std::u16string(head.begin(), head.end()) + face;
}

std::u16string_view FontDesc::engine_face() const {
    std::u16string_view view(face);
    if (view.size() <= kMaxFaceLength) return view;
    view = view.substr(0, kMaxFaceLength);
    if (view.back() >= 0xD800 && view.back() <= 0xDBFF) view.remove_suffix(1);
    return view;
}
