#include "lang/ProgramFiles.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/Paths.h"
#include "platform/Utf16.h"

namespace {

bool has_extension(std::u16string_view file_name, std::u16string_view extension) {
    if (file_name.size() < extension.size()) return false;
    std::u16string_view tail = file_name.substr(file_name.size() - extension.size());
    return paths::to_upper(tail) == paths::to_upper(extension);
}

bool names_file_of_folder(std::u16string_view name) {
    return name.find_first_of(std::u16string_view(u"/\\\0", 3)) == std::u16string_view::npos;
}

}  // namespace

std::vector<ProgramFile> program_files(std::u16string_view folder, std::u16string_view extension) {
    std::vector<ProgramFile> files;
    std::error_code ec;
    std::filesystem::directory_iterator it(paths::native(paths::expand_folder(folder)), ec);
    if (ec) return files;
    const std::u16string prefix = std::u16string(folder) + u"/";
    for (; it != std::filesystem::directory_iterator(); it.increment(ec)) {
        if (ec) break;
        std::string raw = it->path().filename().string();
        std::u16string file_name = utf16::from_utf8(raw);
        // A name that is not valid UTF-8 would not survive the trip back into
        // a path, so the file could never be opened by it.
        if (utf16::to_utf8(file_name) != raw) continue;
        if (!has_extension(file_name, extension)) continue;
        std::error_code type_ec;
        if (!it->is_regular_file(type_ec)) continue;
        files.push_back(
            {file_name.substr(0, file_name.size() - extension.size()), prefix + file_name});
    }
    std::sort(files.begin(), files.end(), [](const ProgramFile& a, const ProgramFile& b) {
        return paths::file_part(a.path) < paths::file_part(b.path);
    });
    return files;
}

std::u16string program_file_path(std::u16string_view folder, std::u16string_view name,
                                 std::u16string_view extension) {
    if (!names_file_of_folder(name)) return {};
    std::u16string exact =
        std::u16string(folder) + u"/" + std::u16string(name) + std::u16string(extension);
    std::error_code ec;
    if (std::filesystem::is_regular_file(paths::native(paths::expand(exact)), ec)) return exact;
    std::u16string wanted = paths::to_upper(name);
    for (const ProgramFile& file : program_files(folder, extension))
        if (paths::to_upper(file.name) == wanted) return file.path;
    return exact;
}

std::u16string program_file_name(std::u16string_view path) {
    std::u16string file = paths::file_part(path);
    size_t dot = file.rfind(u'.');
    return dot == std::u16string::npos ? file : file.substr(0, dot);
}
