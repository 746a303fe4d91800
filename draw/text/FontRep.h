#pragma once
// A font ready for measuring and drawing, made from a FontDesc and shared by
// everyone that uses the same description. Its faces are closed when the last
// holder lets go.
//
// Glyphs come from the face that fontconfig matched to the description. A
// character that face lacks comes from the installed faces that have it, in
// fontconfig's order, the first that gives a glyph; when none does, it is the
// matched face's missing-glyph box. Emoji prefer colour faces: characters
// shown as emoji by default (the pictographs from U+1F000 on and the few
// older ones Unicode gives emoji presentation) and any character asked for
// as emoji (followed by U+FE0F) come from a colour face when one has them,
// even when the matched face has a plain glyph.
//
// Control characters (U+0000..U+001F, U+007F..U+009F) and the invisible
// format characters that only steer other characters (joiners, variation
// selectors, direction marks, tags, the byte-order mark) have no glyph and
// no width.
//
// An emoji sequence (EmojiSequence: skin tones, joined emoji, flags, keycaps)
// is one picture when the colour face that has its first character joins the
// whole sequence into one glyph; else it is shown as its parts.
//
// Like all drawing, fonts are used from the user-interface thread only; the
// glyph caches inside are filled lazily from const member functions.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "draw/text/FontDesc.h"
#include "draw/text/GlyphCache.h"

// How a character asks to be shown: as its font usually shows it, or as an
// emoji (it is followed by the variation selector U+FE0F).
enum class Presentation { Default, Emoji };

class FontRep {
public:
    // The shared font for desc: an existing one when any holder still keeps a
    // font with an equal description, else a new one. Never null. A size of 0
    // (FontDesc::empty()) gives a font without a face and zero metrics.
    //
    // When the description's face cannot be opened, or its size comes to no
    // pixels (a zero scale), this logs "ERROR: FontRep::FontRep() Failed to
    // create font" and the font takes the default font's face instead
    // (FontDesc::application(), in the description's style), at the
    // description's pixel height or, when that is none, the default font's.
    // Only when even that cannot be opened (no usable font installed) does
    // the font have no face: it then measures every text as zero wide and
    // draws nothing.
    static std::shared_ptr<const FontRep> create(const FontDesc& desc);

    ~FontRep();
    FontRep(const FontRep&) = delete;
    FontRep& operator=(const FontRep&) = delete;

    const FontDesc& desc() const { return desc_; }
    bool has_face() const { return face_ != nullptr; }

    // The em height in pixels the face was opened at (FontSizes::pixel_height).
    int32_t pixel_height() const { return pixel_height_; }
    // Line height (ascent + descent), descent below the baseline, and internal
    // leading (line height - em height), all in pixels.
    int32_t height() const { return height_; }
    int32_t descent() const { return descent_; }
    int32_t ascent() const { return height_ - descent_; }
    int32_t internal_leading() const { return internal_leading_; }
    int32_t underline_offset() const;
    int32_t underline_thickness() const;

    // The glyph drawn for code point cp (see the header comment). The
    // reference stays valid as long as this font.
    const Glyph& glyph(char32_t cp, Presentation presentation = Presentation::Default) const;

    // The one picture for an emoji sequence (a UTF-16 text EmojiSequence
    // found), scaled like every emoji of this font; null when no colour face
    // joins the whole sequence into one glyph, and the parts are to be shown
    // instead. Shaped once per sequence; later calls only look it up. The
    // glyph stays valid as long as this font.
    const Glyph* sequence_glyph(std::u16string_view sequence) const;

private:
    explicit FontRep(const FontDesc& desc);
    const Glyph* shape_sequence(std::u16string_view sequence) const;
    // The face at location: the main face, or a fallback face opened on
    // first use; null when it cannot be opened.
    GlyphCache* face_at(const FaceLocation& location) const;
    const Glyph& find_glyph(char32_t cp, bool emoji) const;
    // cp's glyph from the face at location, opened on first use; null when
    // the face cannot be opened or gives no glyph for cp.
    const Glyph* fallback_glyph(const FaceLocation& location, char32_t cp) const;

    // Code points below this are looked up in a flat table: Latin, Greek and
    // Cyrillic, most of what messages hold.
    static constexpr char32_t kDirectGlyphs = 0x800;

    FontDesc desc_;
    int32_t pixel_height_ = 0;
    int32_t height_ = 0;
    int32_t descent_ = 0;
    int32_t internal_leading_ = 0;
    std::unique_ptr<GlyphCache> face_;
    FaceLocation face_location_;
    // Faces that supply characters the main face lacks, opened on demand.
    mutable std::vector<std::pair<FaceLocation, std::unique_ptr<GlyphCache>>> fallbacks_;
    mutable std::unique_ptr<std::array<const Glyph*, kDirectGlyphs>> direct_;
    // The rest, and every character asked for as an emoji (keyed with
    // kEmojiKey added).
    mutable std::unordered_map<char32_t, const Glyph*> others_;
    static constexpr char32_t kEmojiKey = 0x80000000;

    // Emoji sequences and their pictures (null: shown as parts), looked up by
    // a view of the text without copying it.
    struct SequenceHash {
        using is_transparent = void;
        size_t operator()(std::u16string_view s) const {
            return std::hash<std::u16string_view>{}(s);
        }
    };
    mutable std::unordered_map<std::u16string, const Glyph*, SequenceHash, std::equal_to<>>
        sequences_;
    // Texts may hold any number of made-up sequences; past this many the
    // answers are forgotten (the glyphs stay in their faces).
    static constexpr size_t kMaxSequences = 4096;
};
