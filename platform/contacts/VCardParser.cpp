#include "platform/contacts/VCardParser.h"

#include "platform/Utf16.h"

namespace {

constexpr size_t kMaxProblems = 5;

bool is_blank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim(std::string_view s) {
    while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
    return s;
}

bool is_name_char(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_';
}

bool is_begin_line(std::string_view line) {
    return VCardProperty::equals_ignoring_case(trim(line), "BEGIN:VCARD");
}

bool is_end_line(std::string_view line) {
    return VCardProperty::equals_ignoring_case(trim(line), "END:VCARD");
}

// vCard 2.1 writes encodings as bare parameters ("TEL;ENCODING=..." or
// "N;QUOTED-PRINTABLE:"); every other bare parameter is a type.
bool is_encoding_word(std::string_view word) {
    return VCardProperty::equals_ignoring_case(word, "QUOTED-PRINTABLE") ||
           VCardProperty::equals_ignoring_case(word, "BASE64") ||
           VCardProperty::equals_ignoring_case(word, "8BIT") ||
           VCardProperty::equals_ignoring_case(word, "7BIT");
}

std::string_view unquote(std::string_view value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        return value.substr(1, value.size() - 2);
    return value;
}

}  // namespace

// Physical lines of the text, without their line ends.
class VCardParser::Lines {
public:
    explicit Lines(std::string_view text) : text_(text) {}

    bool next(std::string_view& line) {
        if (pos_ >= text_.size()) return false;
        size_t end = text_.find_first_of("\r\n", pos_);
        if (end == std::string_view::npos) end = text_.size();
        line = text_.substr(pos_, end - pos_);
        pos_ = end;
        if (pos_ < text_.size() && text_[pos_] == '\r') ++pos_;
        if (pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
        return true;
    }
    bool peek(std::string_view& line) const {
        Lines copy = *this;
        return copy.next(line);
    }
    void skip() {
        std::string_view ignored;
        next(ignored);
    }
    // Offset of the next line's first byte.
    size_t position() const { return pos_; }

private:
    std::string_view text_;
    size_t pos_ = 0;
};

std::string_view VCardParser::as_utf8(std::string_view text) {
    auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    if (text.size() >= 3 && byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF)
        return text.substr(3);
    bool little = false, big = false;
    size_t start = 0;
    if (text.size() >= 2 && byte(0) == 0xFF && byte(1) == 0xFE) {
        little = true;
        start = 2;
    } else if (text.size() >= 2 && byte(0) == 0xFE && byte(1) == 0xFF) {
        big = true;
        start = 2;
    } else if (text.size() >= 4 && byte(0) != 0 && byte(1) == 0 && byte(2) != 0 && byte(3) == 0) {
        little = true;  // "B\0E\0" : UTF-16LE written without a byte-order mark
    } else if (text.size() >= 4 && byte(0) == 0 && byte(1) != 0 && byte(2) == 0 && byte(3) != 0) {
        big = true;
    }
    if (!little && !big) return text;
    std::u16string units;
    units.reserve((text.size() - start) / 2);
    for (size_t i = start; i + 1 < text.size(); i += 2)
        units.push_back(little ? static_cast<char16_t>(byte(i) | byte(i + 1) << 8)
                               : static_cast<char16_t>(byte(i) << 8 | byte(i + 1)));
    converted_ = utf16::to_utf8(units);
    return converted_;
}

std::string_view VCardParser::unfold(std::string_view first, Lines& lines, bool keep_blank) {
    std::string_view next;
    if (!lines.peek(next) || next.empty() || !is_blank(next.front())) return first;
    std::string& joined = joined_.emplace_back(first);
    while (lines.peek(next) && !next.empty() && is_blank(next.front())) {
        joined.append(keep_blank ? next : next.substr(1));
        lines.skip();
    }
    return joined;
}

std::string_view VCardParser::join_soft_breaks(std::string_view logical, Lines& lines) {
    std::string_view next;
    if (logical.empty() || logical.back() != '=' || !lines.peek(next) || is_end_line(next))
        return logical;
    std::string& joined = joined_.emplace_back(logical);
    // A truncated value ("=" on the card's last content line) must not
    // swallow the END line that follows it.
    while (!joined.empty() && joined.back() == '=' && lines.peek(next) && !is_end_line(next)) {
        joined.pop_back();
        joined.append(next);
        lines.skip();
    }
    return joined;
}

std::string_view VCardParser::join_base64(std::string_view logical, Lines& lines) {
    std::string_view next;
    auto continues = [&] {
        return lines.peek(next) && !trim(next).empty() && next.find(':') == std::string_view::npos;
    };
    if (!continues()) return logical;
    std::string& joined = joined_.emplace_back(logical);
    while (continues()) {
        joined.append(trim(next));
        lines.skip();
    }
    return joined;
}

bool VCardParser::split(std::string_view line, VCardProperty& property) {
    property.parameters.clear();
    size_t n = line.size();
    size_t pos = 0;
    size_t dot = std::string_view::npos;
    while (pos < n && (is_name_char(line[pos]) || line[pos] == '.')) {
        if (line[pos] == '.') dot = pos;
        ++pos;
    }
    if (pos == 0 || pos == n || (line[pos] != ';' && line[pos] != ':')) return false;
    if (dot == std::string_view::npos) {
        property.group = {};
        property.name = line.substr(0, pos);
    } else {
        property.group = line.substr(0, dot);
        property.name = line.substr(dot + 1, pos - dot - 1);
    }
    if (property.name.empty()) return false;

    while (pos < n && line[pos] == ';') {
        size_t start = ++pos;
        size_t equals = std::string_view::npos;
        bool quoted = false;
        for (; pos < n; ++pos) {
            char c = line[pos];
            if (c == '"') {
                quoted = !quoted;
            } else if (!quoted) {
                if (c == ';' || c == ':') break;
                if (c == '=' && equals == std::string_view::npos) equals = pos;
            }
        }
        if (pos >= n) return false;  // no ':' outside quotes: not a content line
        std::string_view whole = trim(line.substr(start, pos - start));
        if (whole.empty()) continue;
        if (equals == std::string_view::npos) {
            property.parameters.push_back({is_encoding_word(whole) ? "ENCODING" : "TYPE", whole});
        } else {
            property.parameters.push_back(
                {trim(line.substr(start, equals - start)),
                 unquote(trim(line.substr(equals + 1, pos - equals - 1)))});
        }
    }
    if (pos >= n || line[pos] != ':') return false;
    property.value = line.substr(pos + 1);
    return true;
}

void VCardParser::skip_nested_card(Lines& lines) {
    int depth = 1;
    std::string_view line;
    while (depth > 0 && lines.next(line)) {
        if (is_begin_line(line))
            ++depth;
        else if (is_end_line(line))
            --depth;
    }
}

VCardParser::Summary VCardParser::parse(std::string_view input,
                                        const std::function<void(const VCard&)>& on_card) {
    Summary summary;
    auto problem = [&](std::string text) {
        if (summary.problems.size() < kMaxProblems) summary.problems.push_back(std::move(text));
    };
    std::string_view text = as_utf8(input);
    Lines lines(text);
    bool in_card = false;
    size_t card_start = 0;
    size_t card_number = 0;
    auto start_card = [&](std::string_view begin_line) {
        in_card = true;
        card_start = static_cast<size_t>(begin_line.data() - text.data());
        card_.number = ++card_number;
        summary.found_begin = true;
        card_.properties.clear();
        card_.version = {};
        joined_.clear();
    };

    std::string_view line;
    VCardProperty property;
    while (lines.next(line)) {
        if (!in_card) {
            if (is_begin_line(line)) {
                start_card(trim(line));
            } else if (is_end_line(line)) {
                ++summary.skipped;
                problem("END:VCARD without BEGIN:VCARD");
            }
            continue;
        }
        if (trim(line).empty()) continue;
        std::string_view logical = unfold(line, lines, card_.is_v21());
        if (!split(logical, property)) continue;  // not a content line
        std::string_view joined = logical;
        if (property.is_quoted_printable())
            joined = join_soft_breaks(logical, lines);
        else if (property.is_base64())
            joined = join_base64(logical, lines);
        if (joined.data() != logical.data() && !split(joined, property)) continue;

        if (property.is("END")) {
            if (!VCardProperty::equals_ignoring_case(trim(property.value), "VCARD")) continue;
            card_.text = text.substr(card_start, lines.position() - card_start);
            ++summary.cards;
            on_card(card_);
            in_card = false;
        } else if (property.is("BEGIN") &&
                   VCardProperty::equals_ignoring_case(trim(property.value), "VCARD")) {
            const VCardProperty* last =
                card_.properties.empty() ? nullptr : &card_.properties.back();
            if (last != nullptr && last->is("AGENT") && trim(last->value).empty()) {
                skip_nested_card(lines);  // a 2.1 AGENT's card belongs to its parent
            } else {
                ++summary.skipped;
                problem("card " + std::to_string(card_number) + " has no END:VCARD");
                start_card(trim(line));
            }
        } else if (property.is("VERSION")) {
            card_.version = trim(property.value);
        } else {
            card_.properties.push_back(property);
        }
    }
    if (in_card) {
        ++summary.skipped;
        problem("card " + std::to_string(card_number) + " has no END:VCARD");
    }
    return summary;
}
