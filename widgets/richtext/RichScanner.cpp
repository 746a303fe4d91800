#include "widgets/richtext/RichScanner.h"

#include <algorithm>
#include <array>

#include "widgets/richtext/SmileyTable.h"

namespace {

constexpr std::u16string_view kBreaks = u" ,;()<>[]{}\"'\\\n\t";
constexpr std::u16string_view kMorePunctuation = u".?!:-+";

// Every suffix carries its dot: a word that merely ends in the same letters
// ("Berlin", "apple") is no link.
constexpr std::array<std::u16string_view, 43> kSuffixes = {
    u".com", u".net", u".org", u".edu", u".gov", u".biz", u".cn", u".de", u".fr",   u".gb",  u".it",
    u".jp",  u".ru",  u".uk",  u".us",  u".ae",  u".at",  u".au", u".be", u".br",   u".ca",  u".cc",
    u".ch",  u".cz",  u".es",  u".eu",  u".fl",  u".gr",  u".hk", u".il", u".in",   u".kr",  u".nl",
    u".no",  u".pl",  u".pt",  u".sa",  u".se",  u".tr",  u".tw", u".ua", u".info", u".mobi"};

bool is_digit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Adds token after the ones kept so far. Tokens arrive in text order, except
// that a phone number is recorded at its end and a link word containing it
// later: two overlapping links become one link reaching to the later end.
// Anything else that overlaps is dropped, so no text is shown twice.
void keep(std::vector<RichToken>& kept, RichToken token) {
    if (!kept.empty()) {
        RichToken& last = kept.back();
        int32_t last_end = last.start + last.length;
        if (token.start < last_end) {
            if (last.kind != RichToken::LINK || token.kind != RichToken::LINK) return;
            last.length = std::max(last_end, token.start + token.length) - last.start;
            return;
        }
    }
    kept.push_back(token);
}

}  // namespace

bool RichScanner::is_break(char16_t c) {
    if (kBreaks.find(c) != std::u16string_view::npos) return true;
    return (c < 32 || c > 122) && kMorePunctuation.find(c) == std::u16string_view::npos;
}

bool RichScanner::is_punctuation(char16_t c) {
    return kBreaks.find(c) != std::u16string_view::npos ||
           kMorePunctuation.find(c) != std::u16string_view::npos;
}

bool RichScanner::is_link(std::u16string_view text, size_t start, size_t length) {
    if (start > text.size() || length > text.size() - start || length < 3) return false;
    std::u16string_view word = text.substr(start, length);
    if (word.starts_with(u"http://") || word.starts_with(u"https://") || word.starts_with(u"www."))
        return true;
    for (std::u16string_view suffix : kSuffixes)
        if (word.ends_with(suffix)) return true;
    return false;
}

bool RichScanner::is_phone_number(std::u16string_view candidate) {
    int digits = 0;
    for (size_t i = candidate.size(); i-- > 0 && digits < 7;)
        if (is_digit(candidate[i])) ++digits;
    return digits >= 3 && digits != 4;
}

std::vector<RichToken> RichScanner::scan(std::u16string_view text, const SmileyTable* table) {
    std::vector<RichToken> recorded;
    const size_t n = text.size();
    size_t word = 0;    // start of the current word
    size_t number = 0;  // start of the current phone number candidate
    bool numbers_allowed = true;
    size_t guard = 0;  // no smiley starts inside the previous one

    for (size_t i = 0; i <= n; ++i) {
        // The end of the text ends a word and a number like a line feed.
        const char16_t c = i < n ? text[i] : u'\n';

        if (i >= word) {
            if (is_break(c)) {
                if (is_link(text, word, i - word))
                    keep(recorded, {static_cast<int32_t>(word), static_cast<int32_t>(i - word),
                                    RichToken::LINK, -1});
                word = i + 1;
            } else if (is_punctuation(c) && i == word) {
                word = i + 1;
            }
        }

        if (i >= number) {
            const bool has_next = i + 1 < n;
            const char16_t next = has_next ? text[i + 1] : u'\0';
            const bool number_char = is_digit(c) || (c == u'(' && i < n) ||
                                     (c == u')' && i > number) ||
                                     (has_next && c == u'+' && is_digit(next)) ||
                                     (has_next && (c == u' ' || c == u'-') && i > number &&
                                      (is_digit(next) || next == u'(' || next == u')'));
            if (!numbers_allowed) {
                if (is_punctuation(c)) {
                    numbers_allowed = true;
                    number = number_char ? i : i + 1;
                } else {
                    number = i + 1;
                }
            } else if (!number_char) {
                if (is_punctuation(c) && is_phone_number(text.substr(number, i - number)))
                    keep(recorded, {static_cast<int32_t>(number), static_cast<int32_t>(i - number),
                                    RichToken::LINK, -1});
                numbers_allowed = false;
                number = i + 1;
            }
        }

        if (table != nullptr && i >= guard && i < n) {
            int found = table->find(text, i);
            if (found >= 0) {
                size_t length = table->entry(static_cast<size_t>(found)).code.size();
                keep(recorded, {static_cast<int32_t>(i), static_cast<int32_t>(length),
                                RichToken::SMILEY, found});
                word = number = guard = i + length;
            }
        }
    }

    // Fill the gaps with plain text, so the tokens cover the text.
    std::vector<RichToken> tokens;
    tokens.reserve(recorded.size() * 2 + 1);
    int32_t end = 0;
    for (const RichToken& token : recorded) {
        if (token.start > end) tokens.push_back({end, token.start - end, RichToken::PLAIN, -1});
        tokens.push_back(token);
        end = token.start + token.length;
    }
    if (static_cast<size_t>(end) < n)
        tokens.push_back({end, static_cast<int32_t>(n) - end, RichToken::PLAIN, -1});
    return tokens;
}
