#include "draw/text/EmojiSequence.h"

#include <algorithm>

#include "draw/text/CodePoints.h"

namespace {

constexpr char32_t kJoiner = 0x200D;
constexpr char32_t kKeycap = 0x20E3;
constexpr char32_t kCancelTag = 0xE007F;
constexpr char32_t kNone = 0xFFFFFFFF;  // past the end, or an unpaired surrogate

bool is_skin_tone(char32_t cp) { return cp >= 0x1F3FB && cp <= 0x1F3FF; }
bool is_regional(char32_t cp) { return cp >= 0x1F1E6 && cp <= 0x1F1FF; }
bool is_tag(char32_t cp) { return cp >= 0xE0020 && cp <= 0xE007E; }

// Walks code points of a text that is already cut to the longest sequence.
class Reader {
public:
    Reader(std::u16string_view text, size_t pos) : text_(text), pos_(pos) {}

    size_t pos() const { return pos_; }
    // The code point at the position and its length in units (kNone, 1 for
    // an unpaired surrogate or the end of the text).
    char32_t peek(size_t* units = nullptr) const { return at(pos_, units); }
    char32_t peek_after() const {
        size_t units = 0;
        at(pos_, &units);
        return at(pos_ + units, nullptr);
    }
    void skip() {
        size_t units = 0;
        at(pos_, &units);
        pos_ += units;
    }
    bool take(char32_t cp) {
        if (peek() != cp) return false;
        skip();
        return true;
    }

private:
    char32_t at(size_t i, size_t* units) const {
        if (units) *units = 1;
        if (i >= text_.size()) return kNone;
        char16_t c = text_[i];
        if (c < 0xD800 || c > 0xDFFF) return c;
        if (c > 0xDBFF || i + 1 >= text_.size()) return kNone;
        char16_t low = text_[i + 1];
        if (low < 0xDC00 || low > 0xDFFF) return kNone;
        if (units) *units = 2;
        return 0x10000 + ((char32_t{c} - 0xD800) << 10) + (low - 0xDC00);
    }

    std::u16string_view text_;
    size_t pos_;
};

// A character that can carry a sequence: anything visible.
bool can_be_base(char32_t cp) { return cp != kNone && !CodePoints::is_invisible(cp); }

// A character that may follow a joiner: an emoji, or one of the symbols
// (arrows, signs, dingbats) that joined sequences use, such as the female
// sign or the heart.
bool can_be_joined(char32_t cp, char32_t next) {
    if (!can_be_base(cp)) return false;
    return CodePoints::is_emoji_by_default(cp) || (cp >= 0x2190 && cp <= 0x2BFF) ||
           next == CodePoints::kEmojiSelector;
}

// Reads what may follow one emoji: a selector, a skin tone, a keycap mark,
// tags. Returns whether anything beyond a lone selector was read.
bool read_marks(Reader& reader) {
    bool more = false;
    reader.take(CodePoints::kEmojiSelector);
    if (is_skin_tone(reader.peek())) {
        reader.skip();
        reader.take(CodePoints::kEmojiSelector);
        more = true;
    }
    if (reader.take(kKeycap)) more = true;
    if (is_tag(reader.peek())) {
        while (is_tag(reader.peek())) reader.skip();
        reader.take(kCancelTag);
        more = true;
    }
    return more;
}

}  // namespace

size_t EmojiSequence::length_at(std::u16string_view text, size_t start) {
    if (start >= text.size()) return 0;
    text = text.substr(0, std::min(text.size(), start + kMaxUnits));
    Reader reader(text, start);
    char32_t base = reader.peek();
    if (!can_be_base(base)) return 0;
    reader.skip();
    if (is_regional(base)) {
        // Indicators pair up from the first; a flag takes nothing after it.
        return is_regional(reader.peek()) ? (reader.skip(), reader.pos() - start) : 0;
    }
    bool sequence = read_marks(reader);
    while (reader.peek() == kJoiner) {
        Reader joined = reader;
        joined.skip();
        if (!can_be_joined(joined.peek(), joined.peek_after())) break;
        joined.skip();
        read_marks(joined);
        reader = joined;
        sequence = true;
    }
    return sequence ? reader.pos() - start : 0;
}
