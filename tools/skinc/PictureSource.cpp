#include "tools/skinc/PictureSource.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "draw/pictures/Load565.h"
#include "draw/pictures/PngReader.h"
#include "platform/Utf16.h"
#include "platform/WholeFile.h"
#include "tools/skinc/BmpWriter.h"

namespace {

// The largest BMP the program's picture loader reads.
constexpr size_t kMaxBmpSize = size_t{64} << 20;

}  // namespace

std::optional<std::vector<uint8_t>> picture_bmp(const std::string& folder, const std::string& name,
                                                std::string* error) {
    namespace fs = std::filesystem;
    const std::string png = (fs::path(folder) / (name + ".png")).string();
    const std::string bmp = (fs::path(folder) / (name + ".bmp")).string();
    struct stat st {};
    if (::stat(png.c_str(), &st) == 0) {
        // The PNG library opens by name and would wait on a FIFO.
        if (!S_ISREG(st.st_mode)) {
            *error = png + ": not a regular file";
            return std::nullopt;
        }
        auto pixels = PngReader::read(png, error);
        if (!pixels) return std::nullopt;
        return bmp_565(*pixels);
    }
    if (errno != ENOENT) {
        *error = png + ": " + std::strerror(errno);
        return std::nullopt;
    }
    std::vector<uint8_t> bytes;
    std::string why;
    switch (WholeFile::read(bmp, kMaxBmpSize, bytes, &why)) {
        case WholeFile::Status::Ok:
            break;
        case WholeFile::Status::Missing:
            *error = "picture \"" + name + "\": found neither " + png + " nor " + bmp;
            return std::nullopt;
        case WholeFile::Status::Failed:
            *error = bmp + ": " + why;
            return std::nullopt;
    }
    // The same test as the skin loader's: a picture of no size fails the skin.
    Size size = bmp_size(bytes, bmp);
    if (size.width == 0 && size.height == 0) {
        *error = bmp + ": not a 16-bit BMP";
        return std::nullopt;
    }
    return bytes;
}

bool picture_source_exists(const std::string& folder, const std::string& name) {
    namespace fs = std::filesystem;
    struct stat st {};
    for (const char* extension : {".png", ".bmp"}) {
        const std::string path = (fs::path(folder) / (name + extension)).string();
        if (::lstat(path.c_str(), &st) == 0 || errno != ENOENT) return true;
    }
    return false;
}

Size bmp_size(const std::vector<uint8_t>& bmp, const std::string& name) {
    return load_565_from_memory(bmp, utf16::from_utf8(name)).size();
}
