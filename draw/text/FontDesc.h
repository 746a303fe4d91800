#pragma once
// The description of a font as skins and the program name it: size in points,
// a scale multiplier, style flags and a face name.
//
// Text form (one entry of a skin's font list): four integers separated by
// white space, then white space and the face name up to the end of the entry:
//     size bold italic underline face
// e.g. "12 1 0 0 Tahoma" is 12-point bold Tahoma. Flags are on when non-zero.
#include <cstdint>
#include <string>
#include <string_view>

struct FontDesc {
    // At most this many UTF-16 units of the face name reach the font engine.
    static constexpr size_t kMaxFaceLength = 31;

    int32_t size = 12;
    int32_t scale = 1;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    std::u16string face = u"Tahoma";

    // Reads the text form. Starts from the skin defaults (size 12, the given
    // scale, no styles, "Tahoma") and stops at the first field that is missing
    // or is not what it should be (not a number, out of range, a negative
    // size), keeping the defaults from there on. White space around the face
    // name is dropped; an empty face keeps "Tahoma". Never fails.
    static FontDesc parse(std::u16string_view text, int32_t scale = 1);

    // The application's own font: "Tahoma" size 10, scale 1.
    static FontDesc application();
    // The placeholder that stands for no font: face "Empty", size 0.
    static FontDesc empty();

    // The text form, e.g. u"12 1 0 0 Tahoma". The scale is not part of it.
    std::u16string to_text() const;

    // The face name as handed to the font engine: its first kMaxFaceLength
    // units, without a high surrogate cut off from its partner.
    std::u16string_view engine_face() const;

    friend bool operator==(const FontDesc&, const FontDesc&) = default;
};
