#include "draw/text/FontRep.h"

#include <algorithm>
#include <chrono>

#include "draw/text/CodePoints.h"
#include "draw/text/FontEngine.h"
#include "draw/text/FontSizes.h"
#include "platform/Log.h"

namespace {

const Glyph kNoGlyph{};

// The face for a name and style at a pixel height, and where it lives; null
// when none can be opened.
std::unique_ptr<GlyphCache> open_face(std::u16string_view name, const FontDesc& desc,
                                      int32_t pixel_height, FaceLocation& location) {
    if (pixel_height <= 0) return nullptr;
    auto found = FontEngine::instance().resolve(name, desc.bold, desc.italic, pixel_height);
    if (!found) return nullptr;
    location = *found;
    return GlyphCache::open(location, pixel_height);
}

// Live fonts by description, so that equal descriptions share one font. Never
// destroyed, like the font engine, so fonts in static holders may go last.
std::vector<std::pair<FontDesc, std::weak_ptr<const FontRep>>>& live_fonts() {
    static auto* fonts = new std::vector<std::pair<FontDesc, std::weak_ptr<const FontRep>>>();
    return *fonts;
}

}  // namespace

std::shared_ptr<const FontRep> FontRep::create(const FontDesc& desc) {
    auto& fonts = live_fonts();
    std::erase_if(fonts, [](const auto& entry) { return entry.second.expired(); });
    for (const auto& [known, font] : fonts)
        if (known == desc)
            if (auto shared = font.lock()) return shared;
    std::shared_ptr<const FontRep> font(new FontRep(desc));
    fonts.emplace_back(desc, font);
    return font;
}

FontRep::FontRep(const FontDesc& desc) : desc_(desc) {
    if (desc_.size == 0) return;
    auto start = std::chrono::steady_clock::now();
    pixel_height_ = FontSizes::pixel_height(desc_.size, desc_.scale);
    std::u16string_view face_name = desc_.engine_face();
    // A size that comes to no pixels at all (a negative size or a zero scale)
    // is as good as no font; it is refused like a face that cannot be opened.
    face_ = open_face(face_name, desc_, pixel_height_, face_location_);
    if (!face_) {
        log() << u"ERROR: FontRep::FontRep() Failed to create font\n";
        // Text in a font that cannot be had is still shown, in the default
        // font as the program's own texts are, and as large as it was meant
        // to be where that is known.
        FontDesc fallback = FontDesc::application();
        if (pixel_height_ <= 0) pixel_height_ = FontSizes::pixel_height(fallback.size, 1);
        face_ = open_face(fallback.engine_face(), desc_, pixel_height_, face_location_);
    }
    long long elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::steady_clock::now() - start)
                            .count();
    log() << u"Creating font: {" << face_name << u"} elapsed=" << elapsed << u"\n";
    if (!face_) {
        log() << u"GetTextMetrics failed: {" << face_name << u"}\n";
        pixel_height_ = 0;
        return;
    }
    descent_ = face_->descent();
    height_ = face_->ascent() + face_->descent();
    internal_leading_ = std::max(height_ - pixel_height_, 0);
}

FontRep::~FontRep() = default;

int32_t FontRep::underline_offset() const { return face_ ? face_->underline_offset() : 1; }

int32_t FontRep::underline_thickness() const { return face_ ? face_->underline_thickness() : 1; }

const Glyph& FontRep::glyph(char32_t cp, Presentation presentation) const {
    // No character below kDirectGlyphs is an emoji by default, so the common
    // case (Latin, Cyrillic, Greek) goes straight to its slot.
    bool emoji = presentation == Presentation::Emoji ||
                 (cp >= kDirectGlyphs && CodePoints::is_emoji_by_default(cp));
    if (cp < kDirectGlyphs && !emoji) {
        if (!direct_) {
            direct_ = std::make_unique<std::array<const Glyph*, kDirectGlyphs>>();
            direct_->fill(nullptr);
        }
        const Glyph*& slot = (*direct_)[cp];
        if (slot == nullptr) slot = &find_glyph(cp, false);
        return *slot;
    }
    auto [it, inserted] = others_.try_emplace(emoji ? cp | kEmojiKey : cp, nullptr);
    if (inserted) it->second = &find_glyph(cp, emoji);
    return *it->second;
}

const Glyph& FontRep::find_glyph(char32_t cp, bool emoji) const {
    if (!face_ || CodePoints::is_invisible(cp)) return kNoGlyph;
    uint32_t own = face_->glyph_index(cp);
    if (own != 0 && !emoji) return face_->glyph(own);
    // Every face that claims the character, best first: a face may fail to
    // open or to render, and the next one may still do.
    std::vector<FaceLocation> covering =
        FontEngine::instance().resolve_covering(cp, desc_.bold, desc_.italic);
    if (emoji) {
        for (const FaceLocation& location : covering)
            if (location.color)
                if (const Glyph* found = fallback_glyph(location, cp)) return *found;
        if (own != 0) return face_->glyph(own);
    }
    for (const FaceLocation& location : covering)
        if (!(emoji && location.color))
            if (const Glyph* found = fallback_glyph(location, cp)) return *found;
    // The missing-glyph box of the main face.
    return face_->glyph(0);
}

const Glyph* FontRep::sequence_glyph(std::u16string_view sequence) const {
    if (!face_ || sequence.empty()) return nullptr;
    if (auto it = sequences_.find(sequence); it != sequences_.end()) return it->second;
    const Glyph* picture = shape_sequence(sequence);
    if (sequences_.size() >= kMaxSequences) sequences_.clear();
    sequences_.emplace(std::u16string(sequence), picture);
    return picture;
}

const Glyph* FontRep::shape_sequence(std::u16string_view sequence) const {
    char32_t first = sequence[0];
    if (first >= 0xD800 && first <= 0xDBFF && sequence.size() > 1 && sequence[1] >= 0xDC00 &&
        sequence[1] <= 0xDFFF)
        first = 0x10000 + ((first - 0xD800) << 10) + (sequence[1] - 0xDC00);
    for (const FaceLocation& location :
         FontEngine::instance().resolve_covering(first, desc_.bold, desc_.italic)) {
        if (!location.color) continue;
        GlyphCache* face = face_at(location);
        if (!face) continue;
        uint32_t index = face->ligature(sequence);
        if (index == 0) continue;
        const Glyph& glyph = face->glyph(index);
        if (glyph.advance > 0 || glyph.has_pixels()) return &glyph;
    }
    return nullptr;
}

GlyphCache* FontRep::face_at(const FaceLocation& location) const {
    if (location.file == face_location_.file && location.index == face_location_.index)
        return face_.get();
    auto it = std::find_if(fallbacks_.begin(), fallbacks_.end(),
                           [&](const auto& entry) { return entry.first == location; });
    if (it == fallbacks_.end()) {
        // A face that cannot be opened is remembered as such, not tried again.
        fallbacks_.emplace_back(location, GlyphCache::open(location, pixel_height_));
        it = fallbacks_.end() - 1;
    }
    return it->second.get();
}

const Glyph* FontRep::fallback_glyph(const FaceLocation& location, char32_t cp) const {
    // The main face was asked already.
    if (location.file == face_location_.file && location.index == face_location_.index)
        return nullptr;
    GlyphCache* face = face_at(location);
    if (!face) return nullptr;
    uint32_t index = face->glyph_index(cp);
    if (index == 0) return nullptr;
    const Glyph& glyph = face->glyph(index);
    // A glyph that failed to load has neither width nor pixels.
    return glyph.advance > 0 || glyph.has_pixels() ? &glyph : nullptr;
}
