#include "draw/pictures/PngReader.h"

#include <png.h>

#include <vector>

std::unique_ptr<PixelBuffer> PngReader::read(const std::string& path, std::string* error) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) {
        if (error) *error = "cannot read PNG " + path + ": " + image.message;
        png_image_free(&image);
        return nullptr;
    }
    image.format = PNG_FORMAT_RGB;
    std::unique_ptr<PixelBuffer> pixels =
        PixelBuffer::create(static_cast<int32_t>(image.width), static_cast<int32_t>(image.height));
    if (!pixels) {
        if (error) *error = "PNG " + path + " is too large";
        png_image_free(&image);
        return nullptr;
    }
    std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) {
        if (error) *error = "cannot read PNG " + path + ": " + image.message;
        return nullptr;
    }
    const uint8_t* in = rgb.data();
    for (int32_t y = 0; y < pixels->height(); ++y) {
        uint16_t* row = pixels->row(y);
        for (int32_t x = 0; x < pixels->width(); ++x, in += 3)
            row[x] = static_cast<uint16_t>((in[0] & 0xF8) << 8 | (in[1] & 0xFC) << 3 | in[2] >> 3);
    }
    return pixels;
}
