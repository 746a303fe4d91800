#include "skin/Properties.h"

#include "platform/Log.h"
#include "platform/Stopwatch.h"

Properties::Properties() = default;
Properties::~Properties() = default;

bool Properties::load_skin(std::u16string_view path, const ScreenInfo& screen,
                           const SkinFile::Makers& makers) {
    log() << "Properties::load_skin 1\n";
    return exchange(SkinFile::load(path, screen.pixels_per_inch, makers), path);
}

bool Properties::load_skin_bytes(std::vector<uint8_t> bytes, std::u16string_view path,
                                 const ScreenInfo& screen, const SkinFile::Makers& makers) {
    log() << "Properties::load_skin 1\n";
    return exchange(SkinFile::load_bytes(std::move(bytes), path, screen.pixels_per_inch, makers),
                    path);
}

bool Properties::exchange(std::unique_ptr<SkinFile> loaded, std::u16string_view path) {
    log() << "Properties::load_skin 2\n";
    if (!loaded) return false;
    log() << "Properties::load_skin 3\n";
    // The previous skin goes with `loaded`; elements built from it keep their
    // pictures and fonts, which are shared.
    skin_.swap(loaded);
    skin_path_ = std::u16string(path);
    return true;
}

void Properties::send_reload_skin() {
    Stopwatch stopwatch;
    listeners_.for_each([this](ReloadListener& listener) { listener.reload_skin(*this); });
    log() << "PropertiesImpl::send_reload_skin the rest time=" << stopwatch.lap() << "\n";
}

std::optional<SkinNode> Properties::find_node(std::u16string_view name) const {
    if (!skin_) return std::nullopt;
    return skin_->find_node(name);
}

size_t Properties::child_count(SkinNode node) const {
    return skin_ && node.offset != 0 ? skin_->child_count(node) : 0;
}

SkinNode Properties::child(SkinNode node, size_t i) const { return skin_->child(node, i); }

bool Properties::has_any(SkinNode node, skin_format::AttributeKind kind) const {
    return skin_ && node.offset != 0 && skin_->attribute_count(node, kind) != 0;
}

int32_t Properties::integer(SkinNode node, std::u16string_view name, int32_t fallback) const {
    return skin_ && node.offset != 0 ? skin_->integer(node, name, fallback) : fallback;
}

std::shared_ptr<const FontRep> Properties::font(SkinNode node, std::u16string_view name,
                                                std::shared_ptr<const FontRep> fallback) const {
    return skin_ && node.offset != 0 ? skin_->font(node, name, std::move(fallback)) : fallback;
}

Point Properties::point(SkinNode node, std::u16string_view name, Point fallback) const {
    return skin_ && node.offset != 0 ? skin_->point(node, name, fallback) : fallback;
}

std::u16string Properties::string(SkinNode node, std::u16string_view name,
                                  std::u16string_view fallback) const {
    return std::u16string(skin_ && node.offset != 0 ? skin_->string(node, name, fallback)
                                                    : fallback);
}

Picture Properties::picture(SkinNode node, std::u16string_view name,
                            const Picture& fallback) const {
    return skin_ && node.offset != 0 ? skin_->picture(node, name, fallback) : fallback;
}

Color Properties::color(SkinNode node, std::u16string_view name, Color fallback) const {
    return skin_ && node.offset != 0 ? skin_->color(node, name, fallback) : fallback;
}

std::u16string Properties::translate(std::u16string_view key) const {
    return dictionary_.text(key);
}

int32_t Properties::scale_shift() const { return skin_ ? skin_->scale_shift() : 0; }
