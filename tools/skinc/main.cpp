// skinc: compiles a skin source (JSON, see SkinCompiler.h) and its PNG
// pictures into a .skin file and 16-bit BMPs, or prints a .skin as JSON.
//
//   skinc SOURCE.json OUT.skin     pictures: SOURCE's folder/FILE.png (or
//                                  FILE.bmp, copied) -> OUT's folder/FILE.bmp
//   skinc --dump [--dpi N] FILE.skin
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "draw/pictures/PngReader.h"
#include "platform/Utf16.h"
#include "tools/skinc/BmpWriter.h"
#include "tools/skinc/JsonValue.h"
#include "tools/skinc/SkinCompiler.h"
#include "tools/skinc/SkinDump.h"

namespace fs = std::filesystem;

namespace {

int usage() {
    std::cerr << "usage: skinc SOURCE.json OUT.skin\n       skinc --dump [--dpi N] FILE.skin\n";
    return 2;
}

bool write_file(const fs::path& path, const std::vector<uint8_t>& bytes) {
    std::error_code ec;
    fs::create_directories(path.parent_path(), ec);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

int dump(const std::string& file, int dpi) {
    // Fonts open no face (size 0): the dump prints descriptions only.
    SkinFile::Makers makers = SkinFile::default_makers();
    makers.font = [](const FontDesc& desc) {
        FontDesc faceless = desc;
        faceless.size = 0;
        return FontRep::create(faceless);
    };
    auto skin = SkinFile::load(utf16::from_utf8(file), dpi, makers);
    if (!skin) {
        std::cerr << "skinc: " << file << " is not a loadable skin (see the log)\n";
        return 1;
    }
    std::cout << dump_skin(*skin);
    return 0;
}

int compile(const fs::path& source, const fs::path& target) {
    std::ifstream in(source, std::ios::binary);
    if (!in) {
        std::cerr << "skinc: cannot read " << source << "\n";
        return 1;
    }
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string error;
    auto document = JsonValue::parse(text, &error);
    auto output = document ? skin_compiler::compile(*document, &error) : std::nullopt;
    if (!output) {
        std::cerr << "skinc: " << source.string() << ": " << error << "\n";
        return 1;
    }
    for (const std::string& picture : output->pictures) {
        fs::path png = source.parent_path() / (picture + ".png"),
                 bmp = source.parent_path() / (picture + ".bmp");
        fs::path out = target.parent_path() / (picture + ".bmp");
        if (fs::exists(png)) {
            auto pixels = PngReader::read(png.string(), &error);
            if (!pixels || !write_file(out, bmp_565(*pixels))) {
                std::cerr << "skinc: " << png.string() << ": "
                          << (pixels ? "cannot write bitmap" : error) << "\n";
                return 1;
            }
        } else if (fs::exists(bmp)) {
            std::error_code ec;
            fs::create_directories(out.parent_path(), ec);
            if (!fs::equivalent(bmp, out, ec))
                fs::copy_file(bmp, out, fs::copy_options::overwrite_existing, ec);
            if (ec) {
                std::cerr << "skinc: cannot copy " << bmp.string() << "\n";
                return 1;
            }
        } else {
            std::cerr << "skinc: picture \"" << picture << "\" has neither " << png.string()
                      << " nor .bmp\n";
            return 1;
        }
    }
    if (!write_file(target, output->bytes)) {
        std::cerr << "skinc: cannot write " << target.string() << "\n";
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && args[0] == "--dump") {
        int dpi = 96;
        size_t at = 1;
        if (args.size() == 4 && args[1] == "--dpi") {
            dpi = std::atoi(args[2].c_str());
            at = 3;
        }
        if (args.size() != at + 1) return usage();
        return dump(args[at], dpi);
    }
    if (args.size() != 2) return usage();
    return compile(args[0], args[1]);
}
