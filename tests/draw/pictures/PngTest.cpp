#include <gtest/gtest.h>
#include <png.h>

#include <array>
#include <filesystem>
#include <fstream>

#include "draw/pictures/PngReader.h"
#include "draw/pictures/PngWriter.h"
#include "support/TestDevice.h"

namespace {

TEST(Png, RoundTripKeepsEveryRgb565PixelOverwritesInPlaceAndReportsFailures) {
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
        for (int32_t x = 0; x < 257; ++x)
            ASSERT_EQ(back->pixel(x, y), pixels->pixel(x, y)) << x << "," << y;

    // Other readers see 8-bit channels with their top bits repeated: red 16,
    // green 32 and blue 16 become 0x84, 0x82 and 0x84.
    auto one = PixelBuffer::create(1, 1);
    one->set_pixel(0, 0, 0x8410);
    ASSERT_TRUE(PngWriter::write(*one, path, &error)) << error;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, path.c_str()));
    image.format = PNG_FORMAT_RGB;
    std::array<uint8_t, 3> rgb{};
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr));
    EXPECT_EQ(rgb, (std::array<uint8_t, 3>{0x84, 0x82, 0x84}));
    // Overwriting leaves no temporary files behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(device.device()), {}), 1);

    // Failures are reported, not hidden.
    EXPECT_EQ(PngReader::read((device.device() / "missing.png").string(), &error), nullptr);
    EXPECT_FALSE(error.empty());
    std::ofstream((device.device() / "junk.png").string()) << "not a png";
    EXPECT_EQ(PngReader::read((device.device() / "junk.png").string(), &error), nullptr);
    error.clear();
    EXPECT_FALSE(PngWriter::write(*one, (device.device() / "no/such/dir/x.png").string(), &error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
