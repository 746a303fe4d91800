#pragma once
// Emoji sequences: characters that a colour emoji font may show as one
// picture. They are
//   - an emoji with a skin tone (a modifier U+1F3FB..U+1F3FF after it),
//   - a keycap (a digit, # or *, an optional U+FE0F, then U+20E3),
//   - a flag of two regional indicators (U+1F1E6..U+1F1FF),
//   - a flag of tags (a base, tags U+E0020..U+E007E, ended by U+E007F),
//   - any of these, or emoji, joined by zero-width joiners (U+200D),
// each part optionally asking for emoji presentation with U+FE0F.
//
// Finding a sequence says nothing about whether a font has a picture for it;
// FontRep asks the colour face, and shows the parts when it has none.
#include <cstddef>
#include <string_view>

class EmojiSequence {
public:
    // The longest sequence taken as one, in UTF-16 units. The longest real
    // ones (a couple with skin tones, a kiss) take under twenty; the bound
    // keeps the work for a hostile run of joiners or tags linear.
    static constexpr size_t kMaxUnits = 48;

    // Whether the UTF-16 unit after a character may carry on an emoji
    // sequence: a joiner, the emoji selector, the keycap mark, or the first
    // unit of a skin tone, a regional indicator or a tag. Plain text fails
    // this at once, so it never pays for the search below.
    static bool may_continue(char16_t next) {
        return next >= 0x200D && (next == 0x200D || next == 0xFE0F || next == 0x20E3 ||
                                  next == 0xD83C || next == 0xDB40);
    }

    // The length in UTF-16 units of the emoji sequence that starts at
    // text[start], at most kMaxUnits; 0 when none starts there, including
    // for a lone character or one followed by U+FE0F only (those are drawn
    // one character at a time). A joiner, modifier, selector or tag that
    // does not continue a sequence is not part of it. Never reads outside
    // text.
    static size_t length_at(std::u16string_view text, size_t start);
};
