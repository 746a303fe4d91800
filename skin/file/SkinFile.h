#pragma once
// A loaded skin file: the file's bytes, used in place, and the three lists
// created from it at load (pictures, fonts, string values).
//
// The format is described in skin/SkinFormat.h. Loading checks the whole
// structure first (SkinValidator), so a file that points outside itself or
// names a picture, font or string that does not exist never loads, and the
// lookups below read in place without further checks.
//
// Coordinates are scaled at lookup by 2^scale_shift: 0 below 192 pixels per
// inch, 1 from 192, 2 from 384. Names match exactly, case-sensitively.
//
// Pictures are drawn with every pixel repeated 2^scale_shift times each way,
// unless the skin's folder holds a picture drawn for the density: at shift 1
// NAME@2x.bmp, at shift 2 NAME@4x.bmp beside NAME.bmp. That one is used
// instead and drawn pixel for pixel (its pictures have scale shift 0); the
// slicing points are the same scaled points, so it must be exactly 2^shift
// times the size of NAME.bmp. NAME.bmp is loaded all the same and its failure
// fails the skin as before; a variant that does not load or has another size
// is logged and NAME.bmp is used, so a skin never fails for its variants.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "draw/Color.h"
#include "draw/Point.h"
#include "draw/pictures/Picture.h"
#include "draw/text/FontDesc.h"
#include "draw/text/FontRep.h"
#include "skin/file/SkinBytes.h"
#include "skin/file/SkinFormat.h"
#include "skin/file/SkinNode.h"

class SkinFile {
public:
    // How pictures and fonts are made from the file's descriptions. Pictures
    // get the path without ".bmp"; a picture of size (0, 0) fails the load.
    // variant gets the path of a density variant (NAME@2x, without ".bmp"):
    // nothing when no such file exists, else the picture as picture() would
    // load it; without a variant maker no variants are looked for.
    struct Makers {
        std::function<Picture(std::u16string_view path)> picture;
        std::function<std::shared_ptr<const FontRep>(const FontDesc&)> font;
        std::function<std::optional<Picture>(std::u16string_view path)> variant;
    };
    // load_565 and FontRep::create; variants are files beside the picture.
    static Makers default_makers();

    // Reads the file at path (path macros expanded) and loads it. Logs the
    // record sizes, then as described for each step; nothing on success means
    // the load failed and nothing was kept. Pictures come from the skin's
    // directory + "\" + name + ".bmp". Only a regular file of at most
    // kMaxFileSize bytes is read; anything else (missing, a folder, a FIFO, a
    // device) counts as an empty file and fails without a log line.
    //
    // When failure is given, a failed load also sets it to one line without
    // the path saying why ("no such file", "wrong magic", the first structural
    // fault, the picture that failed); the log is the same either way.
    static std::unique_ptr<SkinFile> load(std::u16string_view path, int32_t pixels_per_inch,
                                          const Makers& makers = default_makers(),
                                          std::string* failure = nullptr);
    // The same for bytes already read, without the record-size lines; path
    // only locates the pictures and appears in the log.
    static std::unique_ptr<SkinFile> load_bytes(std::vector<uint8_t> bytes,
                                                std::u16string_view path, int32_t pixels_per_inch,
                                                const Makers& makers,
                                                std::string* failure = nullptr);

    // Every offset in the file is 32 bits wide, so no larger file can be a skin.
    static constexpr size_t kMaxFileSize = 0xFFFFFFFF;

    // 2 from 384 pixels per inch, 1 from 192, else 0.
    static int32_t scale_shift_for(int32_t pixels_per_inch);

    SkinFile(const SkinFile&) = delete;
    SkinFile& operator=(const SkinFile&) = delete;

    // The node of that name in the named-node index.
    std::optional<SkinNode> find_node(std::u16string_view name) const;
    // The named nodes with their names, in name order.
    std::vector<std::pair<std::u16string, SkinNode>> named_nodes() const;
    size_t child_count(SkinNode node) const;
    // i < child_count(node).
    SkinNode child(SkinNode node, size_t i) const;

    // Entries of one kind's section, for walking a node whole; i < the count.
    size_t attribute_count(SkinNode node, skin_format::AttributeKind kind) const;
    std::u16string attribute_name(SkinNode node, skin_format::AttributeKind kind, size_t i) const;

    // Typed lookups: the attribute of that name in that kind's section of
    // node, or fallback when there is none.
    int32_t integer(SkinNode node, std::u16string_view name, int32_t fallback) const;
    std::shared_ptr<const FontRep> font(SkinNode node, std::u16string_view name,
                                        std::shared_ptr<const FontRep> fallback) const;
    // The description that font was made from, as parsed and scaled.
    std::optional<FontDesc> font_desc(SkinNode node, std::u16string_view name) const;
    Point point(SkinNode node, std::u16string_view name, Point fallback) const;
    // The view refers into this file's string list, or is fallback.
    std::u16string_view string(SkinNode node, std::u16string_view name,
                               std::u16string_view fallback) const;
    Picture picture(SkinNode node, std::u16string_view name, const Picture& fallback) const;
    // Alpha 255 when found; fallback unchanged otherwise.
    Color color(SkinNode node, std::u16string_view name, Color fallback) const;

    int32_t scale_shift() const { return scale_shift_; }
    const std::u16string& path() const { return path_; }
    const std::vector<Picture>& pictures() const { return pictures_; }
    // Whether picture i of the list is a density variant (drawn 1:1).
    bool is_variant(size_t i) const { return variants_[i]; }
    // The picture names as the file gives them, in picture-list order.
    const std::vector<std::u16string>& picture_names() const { return picture_names_; }
    const std::vector<std::shared_ptr<const FontRep>>& fonts() const { return fonts_; }
    const std::vector<std::u16string>& strings() const { return strings_; }

private:
    SkinFile(std::vector<uint8_t> bytes, std::u16string path, int32_t shift);
    bool create_lists(const std::vector<uint32_t>& strings, const Makers& makers,
                      std::string* failure);
    // File offset of the entry of that name, found by binary search.
    std::optional<size_t> find(SkinNode node, skin_format::AttributeKind kind,
                               std::u16string_view name) const;
    size_t section_begin(SkinNode node, skin_format::AttributeKind kind) const;

    std::vector<uint8_t> bytes_;
    SkinBytes in_;
    std::u16string path_;
    int32_t scale_shift_ = 0;
    // The variant drawn for this density in place of the plain picture, if
    // there is a usable one.
    std::optional<Picture> density_variant(const std::u16string& file, const std::u16string& name,
                                           Size plain, const Makers& makers) const;

    std::vector<Picture> pictures_;
    std::vector<bool> variants_;
    std::vector<std::u16string> picture_names_;
    std::vector<std::shared_ptr<const FontRep>> fonts_;
    std::vector<FontDesc> font_descs_;
    std::vector<std::u16string> strings_;
};
