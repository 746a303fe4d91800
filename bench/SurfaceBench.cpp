#include "bench/SurfaceBench.h"

#include <cstring>
#include <vector>

#include "bench/BenchClock.h"
#include "draw/FillOp.h"
#include "draw/PixelOps.h"
#include "draw/RenderSurface.h"
#include "draw/pictures/Picture.h"

namespace {

constexpr int kRuns = 201;
constexpr Size kScreen{480, 800};

// Keeps the compiler from dropping a store it can prove is never read.
void keep(void* p) { asm volatile("" : : "r"(p) : "memory"); }

void pattern(RenderSurface& s, uint16_t seed) {
    PixelBuffer& b = *s.buffer();
    for (int32_t y = 0; y < b.height(); ++y)
        for (int32_t x = 0; x < b.width(); ++x) {
            auto v = static_cast<uint16_t>(seed + x * 31 + y * 7);
            // Every eighth pixel transparent, every third translucent.
            b.set_pixel(x, y, x % 8 == 0 ? rgb565::kKey : (x % 3 ? v | 0x20 : v & ~0x20));
        }
}

// A bubble with 8-pixel corners and a middle `middle` pixels wide and high,
// as skins slice them.
Picture bubble(int32_t middle) {
    const int32_t side = 16 + middle;
    auto pixels = PixelBuffer::create(side, side);
    for (int32_t y = 0; y < side; ++y)
        for (int32_t x = 0; x < side; ++x)
            pixels->set_pixel(x, y, static_cast<uint16_t>((x * side + y) | 0x20));
    Picture p(std::make_shared<PictureData>(u"bench/bubble", std::move(pixels)));
    p.points = {Point{0, 0}, Point{8, 8}, Point{8 + middle, 8 + middle}, Point{side, side}};
    return p;
}

}  // namespace

void SurfaceBench::run() {
    RenderSurface screen(kScreen), source(kScreen);
    pattern(source, 1);
    size_t bytes = static_cast<size_t>(screen.buffer()->stride()) * kScreen.height;
    std::vector<uint8_t> a(bytes), b(bytes, 1);

    bench::report_median_us("memset_480x800_us", kRuns, [&] {
        std::memset(a.data(), 0x5A, bytes);
        keep(a.data());
    });
    bench::report_median_us("fill_480x800_us", kRuns, [&] {
        screen.fill({0, 0}, kScreen, FillOp(0x1234));
        keep(screen.buffer()->pixels());
    });
    bench::report_median_us("memcpy_480x800_us", kRuns, [&] {
        std::memcpy(a.data(), b.data(), bytes);
        keep(a.data());
    });
    bench::report_median_us("blit_copy_480x800_us", kRuns, [&] {
        source.draw_onto(screen, {0, 0}, pixel_ops::copy());
        keep(screen.buffer()->pixels());
    });
    bench::report_median_us("blit_key_480x800_us", kRuns, [&] {
        source.draw_onto(screen, {0, 0}, pixel_ops::key());
        keep(screen.buffer()->pixels());
    });
    bench::report_median_us("blit_shade_480x800_us", kRuns, [&] {
        source.draw_onto(screen, {0, 0}, pixel_ops::shade_1_2());
        keep(screen.buffer()->pixels());
    });
    bench::report_median_us("scaled_blit_480x800_us", kRuns, [&] {
        // A 240 x 400 picture stretched to the screen.
        screen.blit_scaled({0, 0}, kScreen, *source.buffer(), {0, 0}, {240, 400},
                           pixel_ops::copy());
        keep(screen.buffer()->pixels());
    });

    RenderSurface smiley({64, 64}), mask_surface({64, 64});
    pattern(smiley, 3);
    for (int32_t y = 0; y < 64; ++y)
        for (int32_t x = 0; x < 64; ++x)
            mask_surface.buffer()->set_pixel(x, y, static_cast<uint16_t>((x + y) & 0x1F));
    auto mask_pixels = PixelBuffer::create(64, 64);
    std::memcpy(mask_pixels->pixels(), mask_surface.buffer()->pixels(), 64 * 64 * 2);
    auto mask = pixel_ops::make_mask(
        Picture(std::make_shared<PictureData>(u"bench/mask", std::move(mask_pixels))));
    bench::report_median_us("blit_mask_64x64_us", kRuns * 10, [&] {
        smiley.draw_onto(screen, {100, 100}, *mask);
        keep(screen.buffer()->pixels());
    });

    Picture p = bubble(8);
    bench::report_median_us("sliced_bubble_us", kRuns * 10, [&] {
        p.draw(screen, {40, 250}, {400, 300}, pixel_ops::key());
        keep(screen.buffer()->pixels());
    });
    // The same area three ways: a plain blit, for reference, and a bubble
    // whose middle is a single pixel, tiled 384 times along every row.
    bench::report_median_us("blit_key_400x300_us", kRuns * 10, [&] {
        screen.blit({40, 250}, {400, 300}, *source.buffer(), {0, 0}, pixel_ops::key());
        keep(screen.buffer()->pixels());
    });
    Picture narrow = bubble(1);
    bench::report_median_us("sliced_narrow_middle_us", kRuns * 10, [&] {
        narrow.draw(screen, {40, 250}, {400, 300}, pixel_ops::key());
        keep(screen.buffer()->pixels());
    });
}
