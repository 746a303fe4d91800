// libFuzzer target for the skin loader: any bytes go through SkinFile, and a
// file that loads is walked whole (every named node, every child, every
// attribute of every kind looked up by its own name and by names it lacks), so
// anything the load-time checks let through that points outside the file
// shows up as an out-of-bounds read under the address sanitizer. Then every
// named node is built into an element tree with the standard kinds, laid out
// and drawn, as a form would.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "draw/PixelBuffer.h"
#include "draw/RenderSurface.h"
#include "skin/NodeNotRegistered.h"
#include "skin/Properties.h"
#include "skin/elements/ElementKinds.h"
#include "skin/elements/FormRoot.h"
#include "skin/file/SkinFile.h"

namespace {

// No files and no font faces: pictures are 1 x 1, fonts keep their parsed
// description without opening a face.
const SkinFile::Makers& makers() {
    static const SkinFile::Makers fakes{[](std::u16string_view path) {
                                            return Picture(std::make_shared<PictureData>(
                                                std::u16string(path), PixelBuffer::create(1, 1)));
                                        },
                                        [](const FontDesc& desc) {
                                            FontDesc faceless = desc;
                                            faceless.size = 0;
                                            return FontRep::create(faceless);
                                        }};
    return fakes;
}

void walk_attributes(const SkinFile& skin, SkinNode node) {
    using AK = skin_format::AttributeKind;
    for (size_t k = 0; k < skin_format::kKindCount; ++k) {
        auto kind = static_cast<AK>(k);
        for (size_t i = 0; i < skin.attribute_count(node, kind); ++i) {
            std::u16string name = skin.attribute_name(node, kind, i);
            for (const std::u16string& n : {name, name + u"~", std::u16string()}) {
                volatile int32_t sink = skin.integer(node, n, 0);
                sink = skin.point(node, n, {}).x;
                sink = static_cast<int32_t>(skin.string(node, n, u"").size());
                sink = skin.picture(node, n, {}).points[3].y;
                sink = skin.color(node, n, {}).red;
                sink = skin.font(node, n, nullptr) != nullptr;
                (void)sink;
            }
        }
    }
}

// Builds, lays out and draws every named node as a form root.
void build_forms(const uint8_t* data, size_t size) {
    static ElementKinds kinds;
    Properties properties;
    ScreenInfo screen;
    screen.pixels_per_inch = 192;
    if (!properties.load_skin_bytes(std::vector<uint8_t>(data, data + size), u"fuzz/x.skin", screen,
                                    makers()))
        return;
    RenderSurface surface(Size{48, 64});
    for (const auto& [name, node] : properties.skin()->named_nodes()) {
        FormRoot root;
        try {
            root.load_from_skin(properties, name);
        } catch (const NodeNotRegistered&) {
            // The children built before the bad one stay; use them.
        }
        root.set_x_extent(0, 48);
        root.set_y_extent(0, 64);
        root.draw(surface);
        root.time_step(0.1);
        root.draw(surface);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto skin = SkinFile::load_bytes(std::vector<uint8_t>(data, data + size), u"fuzz/x.skin", 192,
                                     makers());
    if (!skin) return 0;
    skin->find_node(u"FormChat");
    std::vector<SkinNode> pending;
    for (const auto& [name, node] : skin->named_nodes()) {
        if (!skin->find_node(name)) __builtin_trap();  // every listed name must be found
        pending.push_back(node);
    }
    // Iterative: a loaded tree may be as deep as the file is long.
    while (!pending.empty()) {
        SkinNode node = pending.back();
        pending.pop_back();
        walk_attributes(*skin, node);
        for (size_t i = 0; i < skin->child_count(node); ++i)
            pending.push_back(skin->child(node, i));
    }
    build_forms(data, size);
    return 0;
}
