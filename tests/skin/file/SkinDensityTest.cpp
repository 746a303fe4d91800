// Pictures drawn for a screen density (NAME@2x.bmp, NAME@4x.bmp) beside the
// plain picture: which one a load takes, and how it is cut and drawn.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "draw/PixelOps.h"
#include "draw/RenderSurface.h"
#include "skin/SkinFromJson.h"
#include "skin/file/SkinFile.h"
#include "support/Files.h"
#include "support/LogCapture.h"
#include "support/TestDevice.h"
#include "tools/skinc/BmpWriter.h"

namespace {

namespace fs = std::filesystem;

// Every pixel of a picture tells where it came from: its own coordinates and
// which file it lies in, so a drawn pixel shows whether it was repeated.
uint16_t mark(int32_t x, int32_t y, int32_t file) {
    return static_cast<uint16_t>(0x0400 * file + 0x20 * y + x + 1);
}

void write_picture(const fs::path& path, int32_t side, int32_t file) {
    auto pixels = PixelBuffer::create(side, side);
    for (int32_t y = 0; y < side; ++y)
        for (int32_t x = 0; x < side; ++x) pixels->set_pixel(x, y, mark(x, y, file));
    write_file(path, bmp_565(*pixels));
}

// A 4 x 4 picture "pic" cut with one-pixel corners, in a skin lying in the
// program's skin folder.
struct DensitySkin {
    TestDevice device;
    fs::path folder = device.program() / "skins" / "bin";
    CompiledSkin bytes = compile_skin(R"({"named": {"n": {"pictures": {"src":
        {"file": "pic", "p": [[0, 0], [1, 1], [3, 3], [4, 4]]}}}}})");

    DensitySkin() {
        fs::create_directories(folder);
        write_picture(folder / "pic.bmp", 4, 0);
    }
    std::unique_ptr<SkinFile> load(int32_t dpi) {
        return SkinFile::load_bytes(bytes, u"%app_path%/skins/bin/main.skin", dpi,
                                    SkinFile::default_makers());
    }
    static Picture picture(const SkinFile& skin) {
        return skin.picture(*skin.find_node(u"n"), u"src", {});
    }
};

uint16_t pixel_at(RenderSurface& surface, int32_t x, int32_t y) {
    return surface.buffer()->row(y)[x];
}

TEST(SkinDensity, AVariantIsTakenAtItsDensityAndDrawnPixelForPixel) {
    DensitySkin skin;
    write_picture(skin.folder / "pic@2x.bmp", 8, 2);
    write_picture(skin.folder / "pic@4x.bmp", 16, 4);
    struct Case {
        int32_t dpi, factor, file;
    };
    for (Case c : {Case{192, 2, 2}, Case{384, 4, 4}}) {
        auto loaded = skin.load(c.dpi);
        ASSERT_TRUE(loaded) << c.dpi;
        EXPECT_TRUE(loaded->is_variant(0));
        Picture picture = DensitySkin::picture(*loaded);
        EXPECT_EQ(picture.scale_shift, 0);
        EXPECT_EQ(picture.size(), (Size{4 * c.factor, 4 * c.factor}));
        EXPECT_EQ(picture.points[1], (Point{c.factor, c.factor}));
        EXPECT_EQ(picture.points[2], (Point{3 * c.factor, 3 * c.factor}));

        // Drawn larger than itself: the corners come out 1:1 from the
        // variant, the far corner from the variant's far corner.
        const int32_t side = 6 * c.factor, corner = c.factor;
        RenderSurface surface(Size{side, side});
        picture.draw(surface, {0, 0}, {side, side}, pixel_ops::copy());
        for (int32_t y = 0; y < corner; ++y) {
            for (int32_t x = 0; x < corner; ++x) {
                EXPECT_EQ(pixel_at(surface, x, y), mark(x, y, c.file)) << c.dpi;
                EXPECT_EQ(pixel_at(surface, side - corner + x, side - corner + y),
                          mark(4 * c.factor - corner + x, 4 * c.factor - corner + y, c.file))
                    << c.dpi;
            }
        }
    }
    // Below 192 dpi the plain picture is used as it is.
    auto plain = skin.load(96);
    ASSERT_TRUE(plain);
    EXPECT_FALSE(plain->is_variant(0));
    EXPECT_EQ(DensitySkin::picture(*plain).size(), (Size{4, 4}));
}

// Without a usable variant the plain picture is repeated; one that is there
// but cannot be used is logged.
TEST(SkinDensity, WithoutAUsableVariantThePlainPictureIsRepeated) {
    DensitySkin skin;
    struct Case {
        const char* what;
        std::function<void(const fs::path&)> make;
        const char* log;
    };
    const fs::path variant = skin.folder / "pic@2x.bmp";
    for (const Case& c : {
             Case{"only for the other density",
                  [&](const fs::path&) { write_picture(skin.folder / "pic@4x.bmp", 16, 4); },
                  nullptr},
             Case{"damaged", [](const fs::path& p) { std::ofstream(p) << "BM but not a picture"; },
                  "picture variant failed to load {pic@2x}"},
             Case{"wrong size", [](const fs::path& p) { write_picture(p, 6, 2); },
                  "picture variant has the wrong size {pic@2x}"},
             Case{"a FIFO", [](const fs::path& p) { ASSERT_EQ(mkfifo(p.c_str(), 0600), 0); },
                  "picture variant failed to load {pic@2x}"},
             Case{"a folder", [](const fs::path& p) { fs::create_directory(p); },
                  "picture variant failed to load {pic@2x}"},
         }) {
        fs::remove_all(variant);
        c.make(variant);
        LogCapture capture;
        auto loaded = skin.load(192);
        ASSERT_TRUE(loaded) << c.what;
        if (c.log)
            EXPECT_TRUE(capture.has(c.log)) << c.what;
        else
            EXPECT_FALSE(capture.has("variant")) << c.what;
        EXPECT_FALSE(loaded->is_variant(0)) << c.what;
        Picture picture = DensitySkin::picture(*loaded);
        EXPECT_EQ(picture.scale_shift, 1) << c.what;
        EXPECT_EQ(picture.size(), (Size{4, 4})) << c.what;
        RenderSurface surface(Size{12, 12});
        picture.draw(surface, {0, 0}, {12, 12}, pixel_ops::copy());
        EXPECT_EQ(pixel_at(surface, 0, 0), mark(0, 0, 0)) << c.what;
        EXPECT_EQ(pixel_at(surface, 1, 1), mark(0, 0, 0)) << c.what;
        EXPECT_EQ(pixel_at(surface, 11, 11), mark(3, 3, 0)) << c.what;
    }
}

TEST(SkinDensity, AMissingPlainPictureFailsTheSkinEvenWithAVariant) {
    DensitySkin skin;
    fs::remove(skin.folder / "pic.bmp");
    write_picture(skin.folder / "pic@2x.bmp", 8, 2);
    LogCapture capture;
    EXPECT_FALSE(skin.load(192));
    EXPECT_TRUE(capture.has("PropertiesImpl::PropertiesImpl picture failed to load {pic}"));
}

}  // namespace
