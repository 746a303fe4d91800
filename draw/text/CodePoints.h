#pragma once
// What the text drawing needs to know about a character beyond its glyph.
#include <cstdint>

class CodePoints {
public:
    // Characters with no glyph and no width: the C0 and C1 controls and
    // U+007F, and the format characters that only steer the characters
    // around them: soft hyphen, combining grapheme joiner, zero-width space
    // and joiners, direction marks and embeddings, word joiner and invisible
    // operators, variation selectors, the byte-order mark and tags.
    static bool is_invisible(char32_t cp);

    // Characters that Unicode shows as emoji unless asked otherwise (emoji
    // presentation by default): every pictograph from U+1F000 to U+1FAFF and
    // the older symbols with that property, such as U+2705, U+2728, U+2B50.
    static bool is_emoji_by_default(char32_t cp);

    // The variation selector that asks for the character before it to be
    // shown as an emoji.
    static constexpr char32_t kEmojiSelector = 0xFE0F;
};
