// libFuzzer target for the 16-bit BMP loader: any bytes go through
// load_565_from_memory, and a picture that loads is drawn onto a small surface
// through the plain, scaled and sliced paths, so a wrong size in the loaded
// buffer shows up as an out-of-bounds read under the address sanitizer.
#include <cstddef>
#include <cstdint>
#include <span>

#include "draw/PixelOps.h"
#include "draw/RenderSurface.h"
#include "draw/pictures/Load565.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Picture picture = load_565_from_memory(std::span<const uint8_t>(data, size), u"fuzz");
    if (picture.empty()) return 0;
    static RenderSurface surface(Size{32, 24});
    RenderSurface source(picture.size());
    picture.draw(surface, {-3, -2}, picture.size(), pixel_ops::key());
    picture.draw(surface, {5, 4}, {20, 15}, pixel_ops::shade_1_2());
    if (source.buffer()) {
        source.blit({0, 0}, picture.size(), picture.data()->pixels(), {0, 0}, pixel_ops::copy());
        source.draw_scaled_onto(surface, {1, 1}, {30, 7}, pixel_ops::solid());
    }
    return 0;
}
