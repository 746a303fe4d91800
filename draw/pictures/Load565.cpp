// 16-bit BMP loading. The pixels are taken as RGB565 exactly as stored; the
// program's own tools write its pictures that way. Every field that decides
// where bytes are read is checked against the real length of the file before
// anything is allocated, so a damaged or hostile file gives an empty picture
// and never a read outside the file or the buffer.
#include "draw/pictures/Load565.h"

#include <memory>
#include <string>
#include <vector>

#include "platform/Log.h"
#include "platform/Paths.h"
#include "platform/WholeFile.h"

namespace {

constexpr size_t kFileHeader = 14;
constexpr size_t kInfoHeader = 40;
// Larger files are refused unread; the largest picture allowed is far smaller.
constexpr size_t kMaxFileBytes = size_t{64} * 1024 * 1024;

uint32_t u32(const uint8_t* p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}
uint16_t u16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

Picture refuse(std::u16string_view name) {
    log() << u"load_565 " << name << u" is not 16bit bitmap\n";
    return Picture();
}

}  // namespace

Picture load_565_from_memory(std::span<const uint8_t> bytes, std::u16string_view name) {
    if (bytes.size() < kFileHeader + kInfoHeader) return refuse(name);
    const uint8_t* file_header = bytes.data();
    const uint8_t* info = bytes.data() + kFileHeader;
    if (u16(info + 14) != 16) return refuse(name);

    uint64_t offset = u32(file_header + 10);
    int64_t width = static_cast<int32_t>(u32(info + 4));
    int64_t signed_height = static_cast<int32_t>(u32(info + 8));
    bool top_down = signed_height < 0;
    int64_t height = top_down ? -signed_height : signed_height;  // 64 bits: INT32_MIN too
    // Refused before allocating: negative widths, sizes no picture has, pixel
    // data that starts inside the headers or ends past the end of the file.
    if (width < 0 || width > PixelBuffer::kMaxSide || height > PixelBuffer::kMaxSide ||
        width * height > PixelBuffer::kMaxPixels || offset < kFileHeader + kInfoHeader)
        return refuse(name);
    uint64_t row_bytes = static_cast<uint64_t>(width) * 2;
    uint64_t padded = ((16 * static_cast<uint64_t>(width) + 31) / 32) * 4;
    // The last row's padding may be missing from the file; its pixels may not.
    uint64_t needed = height == 0 ? 0 : padded * static_cast<uint64_t>(height - 1) + row_bytes;
    if (offset > bytes.size() || needed > bytes.size() - offset) return refuse(name);

    std::unique_ptr<PixelBuffer> pixels =
        PixelBuffer::create(static_cast<int32_t>(width), static_cast<int32_t>(height));
    if (!pixels) return refuse(name);
    const uint8_t* data = bytes.data() + offset;
    for (int64_t i = 0; i < height; ++i) {
        int32_t y = static_cast<int32_t>(top_down ? i : height - 1 - i);
        uint16_t* row = pixels->row(y);
        const uint8_t* src = data + static_cast<uint64_t>(i) * padded;
        for (int64_t x = 0; x < width; ++x) row[x] = u16(src + 2 * x);
    }
    return Picture(std::make_shared<PictureData>(std::u16string(name), std::move(pixels)));
}

Picture load_565(std::u16string_view path) {
    std::u16string full = paths::expand(std::u16string(path) + u".bmp");
    // Only a regular file is read: a FIFO or a device under a picture's name
    // is refused at once instead of blocking the user-interface thread.
    std::vector<uint8_t> bytes;
    if (WholeFile::read(paths::native(full), kMaxFileBytes, bytes, nullptr) !=
        WholeFile::Status::Ok)
        return refuse(path);
    return load_565_from_memory(bytes, path);
}

Picture load_565_mask(std::u16string_view path) {
    return load_565(std::u16string(path) + u"_mask");
}
