#include "draw/PngReader.h"
#include "draw/PngWriter.h"

#include <gtest/gtest.h>
#include <png.h>

#include <filesystem>
#include <fstream>

#include "support/TestDevice.h"

namespace {

TEST(Png, RoundTripKeepsEveryRgb565PixelAndReplacesAtomically) {
    TestDevice device;
    std::string path = (device.device() / "shot.png").string();
    auto pixels = PixelBuffer::create(257, 3);
    for (int32_t x = 0; x < 257; ++x) {
        pixels->set_pixel(x, 0, static_cast<uint16_t>(x * 255));
        pixels->set_pixel(x, 1, static_cast<uint16_t>(0xFFFF - x));
        pixels->set_pixel(x, 2, static_cast<uint16_t>(x << 8));
    }
    std::string error;
    ASSERT_TRUE(PngWriter::write(*pixels, path, &error)) << error;
    auto back = PngReader::read(path, &error);
    ASSERT_NE(back, nullptr) << error;
    ASSERT_EQ(back->width(), 257);
    for (int32_t y = 0; y < 3; ++y)
        for (int32_t x = 0; x < 257; ++x) ASSERT_EQ(back->pixel(x, y), pixels->pixel(x, y)) << x << "," << y;
    // Overwriting leaves no temporary files behind.
    ASSERT_TRUE(PngWriter::write(*pixels, path, &error)) << error;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(device.device()), {}), 1);
}

TEST(Png, ExpandsChannelsByRepeatingTheirTopBits) {
    TestDevice device;
    std::string path = (device.device() / "c.png").string();
    auto pixels = PixelBuffer::create(1, 1);
    pixels->set_pixel(0, 0, 0x8410);  // red 16, green 32, blue 16
    std::string error;
    ASSERT_TRUE(PngWriter::write(*pixels, path, &error)) << error;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, path.c_str()));
    image.format = PNG_FORMAT_RGB;
    uint8_t rgb[3] = {};
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb, 0, nullptr));
    EXPECT_EQ(rgb[0], 0x84);
    EXPECT_EQ(rgb[1], 0x82);
    EXPECT_EQ(rgb[2], 0x84);
}

TEST(Png, FailuresAreReportedNotHidden) {
    TestDevice device;
    std::string error;
    EXPECT_EQ(PngReader::read((device.device() / "missing.png").string(), &error), nullptr);
    EXPECT_FALSE(error.empty());
    std::ofstream((device.device() / "junk.png").string()) << "not a png";
    EXPECT_EQ(PngReader::read((device.device() / "junk.png").string(), &error), nullptr);
    auto pixels = PixelBuffer::create(2, 2);
    error.clear();
    EXPECT_FALSE(PngWriter::write(*pixels, (device.device() / "no/such/dir/x.png").string(), &error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
