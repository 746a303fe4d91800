#include "draw/text/FontRep.h"

#include <algorithm>
#include <chrono>

#include "draw/text/FontEngine.h"
#include "draw/text/FontSizes.h"
#include "platform/Log.h"

namespace {

const Glyph kNoGlyph{};

bool is_control(char32_t cp) { return cp < 0x20 || (cp >= 0x7F && cp <= 0x9F); }

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
    if (pixel_height_ > 0) {
        if (auto location =
                FontEngine::instance().resolve(face_name, desc_.bold, desc_.italic, pixel_height_))
            face_ = GlyphCache::open(*location, pixel_height_);
    }
    if (!face_) log() << u"ERROR: FontRep::FontRep() Failed to create font\n";
    long long elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::steady_clock::now() - start)
                            .count();
    log() << u"Creating font: {" << face_name << u"} elapsed=" << elapsed << u"\n";
    if (!face_) {
        log() << u"GetTextMetrics failed: {" << face_name << u"}\n";
        return;
    }
    descent_ = face_->descent();
    height_ = face_->ascent() + face_->descent();
    internal_leading_ = std::max(height_ - pixel_height_, 0);
}

FontRep::~FontRep() = default;

int32_t FontRep::underline_offset() const { return face_ ? face_->underline_offset() : 1; }

int32_t FontRep::underline_thickness() const { return face_ ? face_->underline_thickness() : 1; }

const Glyph& FontRep::glyph(char32_t cp) const {
    if (cp < kDirectGlyphs) {
        if (!direct_) {
            direct_ = std::make_unique<std::array<const Glyph*, kDirectGlyphs>>();
            direct_->fill(nullptr);
        }
        const Glyph*& slot = (*direct_)[cp];
        if (slot == nullptr) slot = &find_glyph(cp);
        return *slot;
    }
    auto [it, inserted] = others_.try_emplace(cp, nullptr);
    if (inserted) it->second = &find_glyph(cp);
    return *it->second;
}

const Glyph& FontRep::find_glyph(char32_t cp) const {
    if (!face_ || is_control(cp)) return kNoGlyph;
    if (uint32_t index = face_->glyph_index(cp)) return face_->glyph(index);
    if (auto location = FontEngine::instance().resolve_covering(cp, desc_.bold, desc_.italic)) {
        auto it = std::find_if(fallbacks_.begin(), fallbacks_.end(),
                               [&](const auto& entry) { return entry.first == *location; });
        if (it == fallbacks_.end()) {
            fallbacks_.emplace_back(*location, GlyphCache::open(*location, pixel_height_));
            it = fallbacks_.end() - 1;
        }
        if (it->second)
            if (uint32_t index = it->second->glyph_index(cp)) return it->second->glyph(index);
    }
    // The missing-glyph box of the main face.
    return face_->glyph(0);
}
