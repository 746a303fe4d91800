#include "app/ViewAction.h"

#include "platform/Utf16.h"

namespace {

constexpr std::u16string_view kOpen = u"open:";

bool starts_with_ignoring_case(std::u16string_view text, std::u16string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        char16_t c = text[i];
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
        if (c != prefix[i]) return false;
    }
    return true;
}

int hex_value(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

// Percent-decoding over UTF-8: escapes give bytes, other characters their
// UTF-8, and the whole is read as UTF-8 (a bad sequence becomes U+FFFD). A
// "%" not followed by two hex digits stands for itself.
std::u16string percent_decode(std::u16string_view text) {
    std::string bytes;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'%' && i + 2 < text.size() && hex_value(text[i + 1]) >= 0 &&
            hex_value(text[i + 2]) >= 0) {
            bytes += static_cast<char>(hex_value(text[i + 1]) * 16 + hex_value(text[i + 2]));
            i += 2;
            continue;
        }
        bytes += utf16::to_utf8(text.substr(i, 1));
    }
    return utf16::from_utf8(bytes);
}

// Cuts text to at most limit code units, never between the halves of a
// surrogate pair.
void cut(std::u16string& text, size_t limit) {
    if (text.size() <= limit) return;
    size_t end = limit;
    if (end > 0 && text[end - 1] >= 0xD800 && text[end - 1] < 0xDC00) --end;
    text.resize(end);
}

// A number as people write it: digits, a leading "+", "*" and "#", and the
// separators "-", ".", " ", "(" and ")". Anything else makes it no number.
std::optional<std::u16string> clean_number(std::u16string_view text) {
    std::u16string number;
    bool digits = false;
    for (char16_t c : text) {
        bool digit = c >= u'0' && c <= u'9';
        digits |= digit;
        bool allowed = digit || c == u'*' || c == u'#' || c == u'-' || c == u'.' || c == u' ' ||
                       c == u'(' || c == u')' || (c == u'+' && number.empty());
        if (!allowed) return std::nullopt;
        number += c;
    }
    while (!number.empty() && number.back() == u' ') number.pop_back();
    size_t first = number.find_first_not_of(u' ');
    number.erase(0, first == std::u16string::npos ? number.size() : first);
    if (!digits || number.size() > ViewAction::kMaxNumber) return std::nullopt;
    return number;
}

// Message text for the edit field: line ends become line feeds, tabs
// spaces, and other control characters (and unpaired surrogates' stand-in)
// are dropped.
std::u16string clean_body(std::u16string_view text) {
    std::u16string body;
    for (size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        if (c == u'\r') {
            body += u'\n';
            if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        } else if (c == u'\t') {
            body += u' ';
        } else if (c == u'\n' || (c >= 0x20 && c != 0x7F && !(c >= 0x80 && c < 0xA0) &&
                                  c != 0x2028 && c != 0x2029)) {
            body += c;
        }
    }
    cut(body, ViewAction::kMaxBody);
    return body;
}

std::optional<ViewAction> parse_sms_uri(std::u16string_view uri) {
    if (uri.starts_with(u"//")) uri.remove_prefix(2);
    size_t query_start = uri.find(u'?');
    std::u16string_view recipients = uri.substr(0, query_start);
    std::u16string_view query = query_start == std::u16string_view::npos
                                    ? std::u16string_view{}
                                    : uri.substr(query_start + 1);

    ViewAction action;
    // The first recipient, without its parameters (";phone-context=...").
    std::u16string_view first = recipients.substr(0, recipients.find(u','));
    first = first.substr(0, first.find(u';'));
    std::optional<std::u16string> number = clean_number(percent_decode(first));
    if (!number) return std::nullopt;
    action.number = std::move(*number);

    while (!query.empty()) {
        size_t end = query.find(u'&');
        std::u16string_view field = query.substr(0, end);
        query = end == std::u16string_view::npos ? std::u16string_view{} : query.substr(end + 1);
        if (!starts_with_ignoring_case(field, u"body=")) continue;
        action.body = clean_body(percent_decode(field.substr(5)));
        break;
    }
    return action;
}

}  // namespace

bool ViewAction::names_chat(std::u16string_view command_line) {
    return command_line.starts_with(kOpen) || starts_with_ignoring_case(command_line, u"sms:");
}

std::optional<ViewAction> ViewAction::parse(std::u16string_view command_line) {
    if (starts_with_ignoring_case(command_line, u"sms:"))
        return parse_sms_uri(command_line.substr(4));
    if (!command_line.starts_with(kOpen)) return std::nullopt;
    // The handset's own spelling carries a number or a sender's name as it
    // is; only what no name or number holds goes.
    ViewAction action;
    action.number = clean_body(command_line.substr(kOpen.size()));
    for (char16_t& c : action.number)
        if (c == u'\n') c = u' ';
    while (!action.number.empty() && action.number.back() == u' ') action.number.pop_back();
    size_t first = action.number.find_first_not_of(u' ');
    action.number.erase(0, first == std::u16string::npos ? action.number.size() : first);
    if (action.number.empty() || action.number.size() > 4 * kMaxNumber) return std::nullopt;
    return action;
}
