#include "draw/text/FontEngine.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include "platform/Utf16.h"

namespace {

// The face the program is installed with (fonts-dejavu-core); named last in
// every request so that a missing face still ends on a sans-serif one even
// under a configuration without a sans-serif alias.
constexpr const char* kBaselineFamily = "DejaVu Sans";

// Owns a fontconfig pattern.
class PatternHandle {
public:
    explicit PatternHandle(FcPattern* pattern) : pattern_(pattern) {}
    ~PatternHandle() {
        if (pattern_) FcPatternDestroy(pattern_);
    }
    PatternHandle(const PatternHandle&) = delete;
    PatternHandle& operator=(const PatternHandle&) = delete;
    FcPattern* get() const { return pattern_; }

private:
    FcPattern* pattern_;
};

FcPattern* style_pattern(bool bold, bool italic) {
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    return pattern;
}

// File, index and the styling the matched font lacks.
std::optional<FaceLocation> location_of(FcPattern* font, bool bold, bool italic) {
    FcChar8* file = nullptr;
    if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch || file == nullptr)
        return std::nullopt;
    FaceLocation location;
    location.file = reinterpret_cast<const char*>(file);
    int index = 0;
    if (FcPatternGetInteger(font, FC_INDEX, 0, &index) == FcResultMatch) location.index = index;
    int weight = FC_WEIGHT_REGULAR;
    FcPatternGetInteger(font, FC_WEIGHT, 0, &weight);
    FcBool embolden = FcFalse;
    FcPatternGetBool(font, FC_EMBOLDEN, 0, &embolden);
    location.embolden = bold && (embolden || weight < FC_WEIGHT_DEMIBOLD);
    int slant = FC_SLANT_ROMAN;
    FcPatternGetInteger(font, FC_SLANT, 0, &slant);
    location.slant = italic && slant == FC_SLANT_ROMAN;
    FcBool color = FcFalse;
    FcPatternGetBool(font, FC_COLOR, 0, &color);
    location.color = color == FcTrue;
    return location;
}

}  // namespace

struct FontEngine::Candidate {
    FcCharSet* charset = nullptr;  // owned by the engine's font set
    FaceLocation location;
};

struct FontEngine::StyleList {
    StyleList() = default;
    StyleList(const StyleList&) = delete;
    StyleList& operator=(const StyleList&) = delete;
    ~StyleList() {
        if (fonts) FcFontSetDestroy(fonts);
    }
    FcFontSet* fonts = nullptr;
    std::vector<Candidate> candidates;
};

FontEngine& FontEngine::instance() {
    // Deliberately never destroyed; see the header.
    static FontEngine* engine = new FontEngine();
    return *engine;
}

FontEngine::FontEngine() {
    fontconfig_ready_ = FcInit() == FcTrue;
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) == 0) library_ = library;
    fallback_lists_.resize(4);
}

std::optional<FaceLocation> FontEngine::resolve(std::u16string_view face, bool bold, bool italic,
                                                int32_t pixel_height) const {
    if (!fontconfig_ready_) return std::nullopt;
    PatternHandle pattern(style_pattern(bold, italic));
    std::string family = utf16::to_utf8(face);
    if (!family.empty())
        FcPatternAddString(pattern.get(), FC_FAMILY,
                           reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>("sans-serif"));
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(kBaselineFamily));
    FcPatternAddDouble(pattern.get(), FC_PIXEL_SIZE, pixel_height > 0 ? pixel_height : 1);
    FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    PatternHandle match(FcFontMatch(nullptr, pattern.get(), &result));
    if (match.get() == nullptr) return std::nullopt;
    return location_of(match.get(), bold, italic);
}

std::vector<FaceLocation> FontEngine::resolve_covering(char32_t cp, bool bold, bool italic) {
    std::vector<FaceLocation> covering;
    if (!fontconfig_ready_) return covering;
    std::unique_ptr<StyleList>& list = fallback_lists_[(bold ? 1 : 0) + (italic ? 2 : 0)];
    if (!list) {
        // Every installed font, best first for sans-serif text in this style.
        list = std::make_unique<StyleList>();
        PatternHandle pattern(style_pattern(bold, italic));
        FcPatternAddString(pattern.get(), FC_FAMILY,
                           reinterpret_cast<const FcChar8*>("sans-serif"));
        FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
        FcDefaultSubstitute(pattern.get());
        FcResult result = FcResultNoMatch;
        list->fonts = FcFontSort(nullptr, pattern.get(), FcFalse, nullptr, &result);
        for (int i = 0; list->fonts && i < list->fonts->nfont; ++i) {
            FcPattern* font = list->fonts->fonts[i];
            // Bitmap faces other than colour ones come in a few sizes only and
            // cannot be drawn at the font's.
            FcBool scalable = FcTrue, color = FcFalse;
            FcPatternGetBool(font, FC_SCALABLE, 0, &scalable);
            FcPatternGetBool(font, FC_COLOR, 0, &color);
            FcCharSet* charset = nullptr;
            if ((!scalable && !color) ||
                FcPatternGetCharSet(font, FC_CHARSET, 0, &charset) != FcResultMatch)
                continue;
            if (auto location = location_of(font, bold, italic))
                list->candidates.push_back({charset, std::move(*location)});
        }
    }
    for (const Candidate& candidate : list->candidates)
        if (FcCharSetHasChar(candidate.charset, cp)) covering.push_back(candidate.location);
    return covering;
}
