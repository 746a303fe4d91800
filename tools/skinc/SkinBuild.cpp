#include "tools/skinc/SkinBuild.h"

#include <filesystem>

#include "platform/WholeFile.h"
#include "tools/skinc/JsonValue.h"
#include "tools/skinc/PictureSource.h"
#include "tools/skinc/SkinCompiler.h"
#include "tools/skinc/StagedFiles.h"

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
        if (!bmp || !files.add((to / (picture + ".bmp")).string(), *bmp, &why)) {
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
