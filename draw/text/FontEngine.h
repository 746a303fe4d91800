#pragma once
// The process's font engine: fontconfig finds installed font files, FreeType
// opens them. This is the only place that talks to fontconfig.
//
// Face names resolve through fontconfig's own rules (aliases, the user's and
// the system's configuration). A name that no installed font has falls back to
// the configured sans-serif face and, last of all, to DejaVu Sans, the face the
// program is installed with.
//
// Like all drawing, the engine is used from the user-interface thread only.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct FT_LibraryRec_;

// Where a face lives, and the styling the file itself does not provide and
// has to be synthesised (a bold request answered by a regular file). A colour
// face (emoji) draws its glyphs in their own colours.
struct FaceLocation {
    std::string file;
    int32_t index = 0;
    bool embolden = false;
    bool slant = false;
    bool color = false;

    friend bool operator==(const FaceLocation&, const FaceLocation&) = default;
};

class FontEngine {
public:
    // The engine, initialised on first use. fontconfig reads its configuration
    // then ($FONTCONFIG_FILE, else the system's). The engine is never
    // destroyed, so fonts held in static objects can close their faces at exit
    // in any order.
    static FontEngine& instance();

    FontEngine(const FontEngine&) = delete;
    FontEngine& operator=(const FontEngine&) = delete;

    // The best installed face for a name and style at a pixel size; nothing
    // only when no usable font is installed at all.
    std::optional<FaceLocation> resolve(std::u16string_view face, bool bold, bool italic,
                                        int32_t pixel_height) const;

    // Every installed face in this style that claims a glyph for code point
    // cp, in fontconfig's order of preference for sans-serif text: outline
    // faces and colour faces (emoji, whose glyphs are bitmaps at fixed sizes).
    // Empty when no face has one. A face may still fail to open, so callers
    // go down the list. Cheap after the first call for a style: the candidate
    // list is built once per style and then only searched.
    std::vector<FaceLocation> resolve_covering(char32_t cp, bool bold, bool italic);

    // FreeType's library handle, for opening faces.
    FT_LibraryRec_* library() const { return library_; }

private:
    FontEngine();

    struct Candidate;
    struct StyleList;

    FT_LibraryRec_* library_ = nullptr;
    bool fontconfig_ready_ = false;
    std::vector<std::unique_ptr<StyleList>> fallback_lists_;  // by style, 0..3, built on demand
};
