// libFuzzer target for skinc: any bytes go through the JSON reader and the
// skin compiler, in memory. Whatever compiles must load (a skin that skinc
// writes and the program refuses is a fault), and its dump must compile back
// to the very same bytes. A source that compiles then goes through a whole
// build in a scratch folder, where only a few of the pictures it may name
// exist (a PNG, a BMP, a damaged BMP, a FIFO), so that missing and unusable
// pictures, the output folder and the staged writes are exercised too; a
// build that succeeds must load from disk with its pictures.
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "draw/PixelBuffer.h"
#include "draw/pictures/PngWriter.h"
#include "platform/Utf16.h"
#include "skin/file/SkinFile.h"
#include "tools/skinc/BmpWriter.h"
#include "tools/skinc/JsonValue.h"
#include "tools/skinc/SkinBuild.h"
#include "tools/skinc/SkinCompiler.h"
#include "tools/skinc/SkinDump.h"

namespace {

namespace fs = std::filesystem;

// Fonts keep their description without opening a face.
std::shared_ptr<const FontRep> faceless(const FontDesc& desc) {
    FontDesc d = desc;
    d.size = 0;
    return FontRep::create(d);
}

// Pictures of 1 x 1 pixels that need no files.
Picture fake_picture(std::u16string_view path) {
    return Picture(std::make_shared<PictureData>(std::u16string(path), PixelBuffer::create(1, 1)));
}

// A scratch folder for one build: src/ with the pictures dot (BMP), icons/dot
// (PNG), flat (a damaged BMP) and pipe (a FIFO named .png); out/ for the
// build. On a RAM disk when there is one, so that syncing the files written
// costs nothing. Made afresh for every input and removed after it, as the
// fuzzer may end the process without running exit handlers.
fs::path make_scratch() {
    std::string pattern =
        (fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path()) /
        "fuzz-skin-source-XXXXXX";
    if (!::mkdtemp(pattern.data())) __builtin_trap();
    fs::path root = pattern;
    fs::create_directories(root / "src/icons");
    auto pixels = PixelBuffer::create(2, 2);
    auto bmp = bmp_565(*pixels);
    std::ofstream(root / "src/dot.bmp", std::ios::binary)
        .write(reinterpret_cast<const char*>(bmp.data()), std::ssize(bmp));
    std::ofstream(root / "src/flat.bmp", std::ios::binary) << "BM flat";
    std::string error;
    PngWriter::write(*pixels, (root / "src/icons/dot.png").string(), &error);
    ::mkfifo((root / "src/pipe.png").c_str(), 0600);
    return root;
}

void build_on_disk(const uint8_t* data, size_t size) {
    const fs::path root = make_scratch();
    const fs::path source = root / "src/skin.json", skin = root / "out/x.skin";
    std::ofstream(source, std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    std::string error;
    if (build_skin(source.string(), skin.string(), &error)) {
        SkinFile::Makers makers{SkinFile::default_makers().picture, faceless};
        if (!SkinFile::load(utf16::from_utf8(skin.string()), 96, makers))
            __builtin_trap();  // built, but the program would refuse it
    } else if (error.empty()) {
        __builtin_trap();  // a failure must say why
    }
    std::error_code ec;
    fs::remove_all(root, ec);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string error;
    auto source =
        JsonValue::parse(std::string_view(reinterpret_cast<const char*>(data), size), &error);
    if (!source) return 0;
    auto compiled = skin_compiler::compile(*source, &error);
    if (!compiled) return 0;
    auto skin = SkinFile::load_bytes(compiled->bytes, u"fuzz/x.skin", 96,
                                     SkinFile::Makers{fake_picture, faceless});
    if (!skin) __builtin_trap();  // compiled, but the loader refuses it
    auto dumped = JsonValue::parse(dump_skin(*skin), &error);
    if (!dumped) __builtin_trap();
    auto again = skin_compiler::compile(*dumped, &error);
    if (!again || again->bytes != compiled->bytes || again->pictures != compiled->pictures)
        __builtin_trap();  // the dump does not give back the same skin
    build_on_disk(data, size);
    return 0;
}
