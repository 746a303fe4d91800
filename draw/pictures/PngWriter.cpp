#include "draw/pictures/PngWriter.h"

#include <png.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/AtomicWrite.h"

bool PngWriter::write(const PixelBuffer& pixels, const std::string& path, std::string* error) {
    if (pixels.width() <= 0 || pixels.height() <= 0) {
        if (error) *error = "cannot write an empty picture to " + path;
        return false;
    }
    size_t width = static_cast<size_t>(pixels.width());
    std::vector<uint8_t> rgb(width * 3 * static_cast<size_t>(pixels.height()));
    uint8_t* out = rgb.data();
    for (int32_t y = 0; y < pixels.height(); ++y) {
        const uint16_t* row = pixels.row(y);
        for (size_t x = 0; x < width; ++x) {
            unsigned p = row[x];
            unsigned r = p >> 11, g = (p >> 5) & 0x3F, b = p & 0x1F;
            *out++ = static_cast<uint8_t>(r << 3 | r >> 2);
            *out++ = static_cast<uint8_t>(g << 2 | g >> 4);
            *out++ = static_cast<uint8_t>(b << 3 | b >> 2);
        }
    }

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(pixels.width());
    image.height = static_cast<png_uint_32>(pixels.height());
    image.format = PNG_FORMAT_RGB;
    png_alloc_size_t size = 0;
    // The first call measures, the second encodes into memory.
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, rgb.data(), 0, nullptr)) {
        if (error) *error = std::string("cannot encode PNG: ") + image.message;
        png_image_free(&image);
        return false;
    }
    std::string encoded(size, '\0');
    if (!png_image_write_to_memory(&image, encoded.data(), &size, 0, rgb.data(), 0, nullptr)) {
        if (error) *error = std::string("cannot encode PNG: ") + image.message;
        png_image_free(&image);
        return false;
    }
    encoded.resize(size);
    return write_file_atomically(path, encoded, 0644, error);
}
