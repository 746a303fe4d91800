#include "tools/skinc/SkinBuild.h"

#include <filesystem>
#include <string>
#include <utility>

#include "platform/WholeFile.h"
#include "tools/skinc/JsonValue.h"
#include "tools/skinc/PictureSource.h"
#include "tools/skinc/SkinCompiler.h"
#include "tools/skinc/StagedFiles.h"

namespace {

// The density variants of picture (NAME@2x, NAME@4x) that the source folder
// holds, staged beside it. Each must be the plain picture's size times its
// factor: the skin's slicing points are scaled for it, and the program
// passes over a variant of any other size.
bool add_variants(const std::string& from, const std::string& picture, Size plain,
                  const std::string& to, StagedFiles& files, std::string* error) {
    for (auto [suffix, factor] : {std::pair{"@2x", 2}, std::pair{"@4x", 4}}) {
        const std::string name = picture + suffix;
        if (!picture_source_exists(from, name)) continue;
        auto bmp = picture_bmp(from, name, error);
        if (!bmp) return false;
        Size size = bmp_size(*bmp, name);
        if (size.width != plain.width * factor || size.height != plain.height * factor) {
            *error = "picture \"" + name + "\" is " + std::to_string(size.width) + "x" +
                     std::to_string(size.height) + ", not " + std::to_string(factor) +
                     " times the size of \"" + picture + "\" (" + std::to_string(plain.width) +
                     "x" + std::to_string(plain.height) + ")";
            return false;
        }
        if (!files.add((std::filesystem::path(to) / (name + ".bmp")).string(), *bmp, error))
            return false;
    }
    return true;
}

}  // namespace

bool build_skin(const std::string& source, const std::string& target, std::string* error) {
    namespace fs = std::filesystem;
    std::string text, why;
    switch (WholeFile::read(source, kMaxSkinSourceSize, text, &why)) {
        case WholeFile::Status::Ok:
            break;
        case WholeFile::Status::Missing:
            *error = source + ": no such file";
            return false;
        case WholeFile::Status::Failed:
            *error = source + ": " + why;
            return false;
    }
    auto document = JsonValue::parse(text, &why);
    auto output = document ? skin_compiler::compile(*document, &why) : std::nullopt;
    if (!output) {
        *error = source + ": " + why;
        return false;
    }
    const std::string from = fs::path(source).parent_path().string();
    const fs::path to = fs::path(target).parent_path();
    StagedFiles files;
    for (const std::string& picture : output->pictures) {
        auto bmp = picture_bmp(from, picture, &why);
        if (!bmp || !files.add((to / (picture + ".bmp")).string(), *bmp, &why) ||
            !add_variants(from, picture, bmp_size(*bmp, picture), to.string(), files, &why)) {
            *error = source + ": " + why;
            return false;
        }
    }
    if (!files.add(target, output->bytes, &why) || !files.commit(&why)) {
        *error = source + ": " + why;
        return false;
    }
    return true;
}
