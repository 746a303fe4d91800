#include "skin/file/SkinFile.h"

#include <algorithm>
#include <filesystem>

#include "draw/pictures/Load565.h"
#include "platform/Log.h"
#include "platform/Paths.h"
#include "platform/Stopwatch.h"
#include "platform/WholeFile.h"
#include "skin/file/SkinValidator.h"

using namespace skin_format;

namespace {

// The record sizes, logged at every load so that a log from the field shows
// the layout the program was built with.
void log_record_sizes() {
    log() << "sizeof(Node*4)=" << 8 << "\n"
          << "sizeof(IntegerNode*4)=" << 32 << "\n"
          << "sizeof(PointNode*4)=" << 32 << "\n"
          << "sizeof(Node)=" << 2 << "\n"
          << "sizeof(IntegerNode)=" << 8 << "\n"
          << "IntegerNode::Size=" << 8 << "\n"
          << "sizeof(PointNode)=" << 8 << "\n"
          << "PointNode::Size=" << 8 << "\n"
          << "sizeof(ColorNode)=" << 8 << "\n"
          << "ColorNode::Size=" << 8 << "\n"
          << "sizeof(StringNode)=" << 4 << "\n"
          << "StringNode::Size=" << 4 << "\n"
          << "sizeof(PictureNode)=" << 20 << "\n"
          << "PictureNode::Size=" << 20 << "\n";
}

// The skin's directory without its trailing separator: the path without one
// trailing separator, cut before its last separator; "" when it has none.
std::u16string directory_of(std::u16string_view path) {
    if (!path.empty() && (path.back() == u'\\' || path.back() == u'/')) path.remove_suffix(1);
    size_t cut = path.find_last_of(u"\\/");
    return cut == std::u16string_view::npos ? std::u16string()
                                            : std::u16string(path.substr(0, cut));
}

bool has_magic(const std::vector<uint8_t>& bytes) {
    SkinBytes in(bytes);
    for (size_t i = 0; i < kMagic.size(); ++i)
        if (in.u16(2 * i) != kMagic[i]) return false;
    return true;
}

int32_t scaled(int32_t value, int32_t shift) {
    return static_cast<int32_t>(static_cast<uint32_t>(value) << shift);
}

}  // namespace

SkinFile::Makers SkinFile::default_makers() {
    return {[](std::u16string_view path) { return load_565(path); },
            [](const FontDesc& desc) { return FontRep::create(desc); },
            [](std::u16string_view path) -> std::optional<Picture> {
                // Only a file that is not there at all is quietly skipped;
                // anything else goes to the loader, which says what is wrong.
                std::error_code ec;
                auto status = std::filesystem::symlink_status(
                    paths::native(paths::expand(std::u16string(path) + u".bmp")), ec);
                if (status.type() == std::filesystem::file_type::not_found) return std::nullopt;
                return load_565(path);
            }};
}

int32_t SkinFile::scale_shift_for(int32_t pixels_per_inch) {
    if (pixels_per_inch >= 384) return 2;
    if (pixels_per_inch >= 192) return 1;
    return 0;
}

SkinFile::SkinFile(std::vector<uint8_t> bytes, std::u16string path, int32_t shift)
    : bytes_(std::move(bytes)), in_(bytes_), path_(std::move(path)), scale_shift_(shift) {}

std::unique_ptr<SkinFile> SkinFile::load(std::u16string_view path, int32_t pixels_per_inch,
                                         const Makers& makers, std::string* failure) {
    log_record_sizes();
    std::vector<uint8_t> bytes;
    std::string why;
    // A file that cannot be read counts as empty: it then fails the size check
    // without a log line of its own, as a missing one does.
    WholeFile::Status status =
        WholeFile::read(paths::native(paths::expand(path)), kMaxFileSize, bytes, &why);
    if (status != WholeFile::Status::Ok) {
        if (failure) *failure = status == WholeFile::Status::Missing ? "no such file" : why;
        return nullptr;
    }
    return load_bytes(std::move(bytes), path, pixels_per_inch, makers, failure);
}

std::unique_ptr<SkinFile> SkinFile::load_bytes(std::vector<uint8_t> bytes, std::u16string_view path,
                                               int32_t pixels_per_inch, const Makers& makers,
                                               std::string* failure) {
    // Too short or not a skin at all: refused silently, like a missing file.
    if (bytes.size() < kHeaderSize) {
        if (failure) *failure = "shorter than the 92-byte header of a skin";
        return nullptr;
    }
    if (!has_magic(bytes)) {
        if (failure) *failure = "not a skin file (wrong magic)";
        return nullptr;
    }
    std::unique_ptr<SkinFile> skin(
        new SkinFile(std::move(bytes), std::u16string(path), scale_shift_for(pixels_per_inch)));
    SkinValidator validator(skin->in_);
    if (!validator.ok()) {
        log() << "Error: skin [" << path << "] failed to load\n";
        if (failure) *failure = validator.fault();
        return nullptr;
    }
    if (!skin->create_lists(validator.strings(), makers, failure)) return nullptr;
    return skin;
}

bool SkinFile::create_lists(const std::vector<uint32_t>& strings, const Makers& makers,
                            std::string* failure) {
    Stopwatch stopwatch;
    size_t pictures = in_.u32(kPictureCount), fonts = in_.u32(kFontCount);
    std::u16string directory = directory_of(path_);
    for (size_t i = 0; i < pictures; ++i) {
        std::u16string name = in_.string(strings[i]);
        std::u16string file = directory.empty() ? name : directory + u"\\" + name;
        Picture picture = makers.picture(file);
        if (picture.size().width == 0 && picture.size().height == 0) {
            log() << "PropertiesImpl::PropertiesImpl picture failed to load {" << name << "}\n";
            if (failure)
                *failure = "picture " + paths::native(paths::expand(file)) + ".bmp failed to load";
            return false;
        }
        auto variant = density_variant(file, name, picture.size(), makers);
        log() << "PropertiesImpl::PropertiesImpl picture load time=" << stopwatch.lap() << " {"
              << name << "}\n";
        variants_.push_back(variant.has_value());
        pictures_.push_back(variant ? std::move(*variant) : std::move(picture));
        picture_names_.push_back(std::move(name));
    }
    for (size_t i = pictures; i < pictures + fonts; ++i) {
        font_descs_.push_back(FontDesc::parse(in_.string(strings[i]), 1 << scale_shift_));
        fonts_.push_back(makers.font(font_descs_.back()));
    }
    for (size_t i = pictures + fonts; i < strings.size(); ++i)
        strings_.push_back(in_.string(strings[i]));
    log() << "PropertiesImpl::PropertiesImpl fonts create time=" << stopwatch.lap() << "\n";
    return true;
}

std::optional<Picture> SkinFile::density_variant(const std::u16string& file,
                                                 const std::u16string& name, Size plain,
                                                 const Makers& makers) const {
    if (scale_shift_ == 0 || !makers.variant) return std::nullopt;
    const std::u16string suffix = scale_shift_ == 1 ? u"@2x" : u"@4x";
    std::optional<Picture> variant = makers.variant(file + suffix);
    if (!variant) return std::nullopt;
    Size size = variant->size();
    if (size.width == 0 && size.height == 0) {
        log() << "PropertiesImpl::PropertiesImpl picture variant failed to load {" << name << suffix
              << "}\n";
        return std::nullopt;
    }
    // The node's slicing points are scaled as for the plain picture, so only
    // a variant of exactly the scaled size can be cut by them.
    if (size.width != plain.width << scale_shift_ || size.height != plain.height << scale_shift_) {
        log() << "PropertiesImpl::PropertiesImpl picture variant has the wrong size {" << name
              << suffix << "}\n";
        return std::nullopt;
    }
    return variant;
}

std::optional<SkinNode> SkinFile::find_node(std::u16string_view name) const {
    uint32_t at = in_.u32(kRootOffset);
    while (at != kNone) {
        auto order = in_.compare(name, in_.u32(at + 8));
        if (order == 0) return SkinNode{static_cast<uint32_t>(at + kRecordSize)};
        at = in_.u32(order < 0 ? at : at + 4);
    }
    return std::nullopt;
}

std::vector<std::pair<std::u16string, SkinNode>> SkinFile::named_nodes() const {
    std::vector<std::pair<std::u16string, SkinNode>> named;
    std::vector<uint32_t> stack;
    uint32_t at = in_.u32(kRootOffset);
    while (at != kNone || !stack.empty()) {
        for (; at != kNone; at = in_.u32(at)) stack.push_back(at);
        uint32_t record = stack.back();
        stack.pop_back();
        named.emplace_back(in_.string(in_.u32(record + 8)),
                           SkinNode{static_cast<uint32_t>(record + kRecordSize)});
        at = in_.u32(record + 4);
    }
    return named;
}

size_t SkinFile::child_count(SkinNode node) const { return in_.u16(node.offset + 14); }

SkinNode SkinFile::child(SkinNode node, size_t i) const {
    return SkinNode{in_.u32(node.offset + kNodeSize + kChildSize * i)};
}

size_t SkinFile::section_begin(SkinNode node, AttributeKind kind) const {
    return node.offset + in_.u16(node.offset + 2 * index(kind));
}

size_t SkinFile::attribute_count(SkinNode node, AttributeKind kind) const {
    size_t end = node.offset + in_.u16(node.offset + 2 * index(kind) + 2);
    return (end - section_begin(node, kind)) / entry_size(kind);
}

std::u16string SkinFile::attribute_name(SkinNode node, AttributeKind kind, size_t i) const {
    return in_.string(in_.u16(section_begin(node, kind) + i * entry_size(kind)));
}

std::optional<size_t> SkinFile::find(SkinNode node, AttributeKind kind,
                                     std::u16string_view name) const {
    size_t begin = section_begin(node, kind), size = entry_size(kind);
    size_t low = 0, high = attribute_count(node, kind);
    while (low < high) {
        size_t middle = (low + high) / 2;
        size_t entry = begin + middle * size;
        auto order = in_.compare(name, in_.u16(entry));
        if (order == 0) return entry;
        if (order < 0)
            high = middle;
        else
            low = middle + 1;
    }
    return std::nullopt;
}

int32_t SkinFile::integer(SkinNode node, std::u16string_view name, int32_t fallback) const {
    auto at = find(node, AttributeKind::integer, name);
    return at ? in_.i32(*at + 4) : fallback;
}

std::shared_ptr<const FontRep> SkinFile::font(SkinNode node, std::u16string_view name,
                                              std::shared_ptr<const FontRep> fallback) const {
    auto at = find(node, AttributeKind::font, name);
    return at ? fonts_[in_.u32(*at + 4)] : fallback;
}

std::optional<FontDesc> SkinFile::font_desc(SkinNode node, std::u16string_view name) const {
    auto at = find(node, AttributeKind::font, name);
    if (!at) return std::nullopt;
    return font_descs_[in_.u32(*at + 4)];
}

Point SkinFile::point(SkinNode node, std::u16string_view name, Point fallback) const {
    auto at = find(node, AttributeKind::point, name);
    if (!at) return fallback;
    return {scaled(in_.i16(*at + 4), scale_shift_), scaled(in_.i16(*at + 6), scale_shift_)};
}

std::u16string_view SkinFile::string(SkinNode node, std::u16string_view name,
                                     std::u16string_view fallback) const {
    auto at = find(node, AttributeKind::string, name);
    return at ? std::u16string_view(strings_[in_.u16(*at + 2)]) : fallback;
}

Picture SkinFile::picture(SkinNode node, std::u16string_view name, const Picture& fallback) const {
    auto at = find(node, AttributeKind::picture, name);
    if (!at) return fallback;
    const size_t index = in_.u8(*at + 18);
    Picture picture = pictures_[index];
    for (size_t i = 0; i < 4; ++i)
        picture.points[i] = {scaled(in_.u16(*at + 2 + 4 * i), scale_shift_),
                             scaled(in_.u16(*at + 4 + 4 * i), scale_shift_)};
    // A variant already has the density's pixels.
    picture.scale_shift = variants_[index] ? 0 : scale_shift_;
    picture.flags = in_.u8(*at + 19) != 0 ? 1 : 0;
    return picture;
}

Color SkinFile::color(SkinNode node, std::u16string_view name, Color fallback) const {
    auto at = find(node, AttributeKind::color, name);
    if (!at) return fallback;
    return {in_.u8(*at + 4), in_.u8(*at + 5), in_.u8(*at + 6), 255};
}
