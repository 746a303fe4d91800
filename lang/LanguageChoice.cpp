#include "lang/LanguageChoice.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "lang/SystemLanguage.h"
#include "platform/Log.h"
#include "platform/Paths.h"
#include "platform/Registry.h"
#include "platform/Utf16.h"

namespace {

constexpr std::u16string_view kExtension = u".lng";

bool has_language_extension(std::u16string_view file_name) {
    if (file_name.size() < kExtension.size()) return false;
    std::u16string_view tail = file_name.substr(file_name.size() - kExtension.size());
    return paths::to_upper(tail) == paths::to_upper(kExtension);
}

bool names_file_of_program_folder(std::u16string_view name) {
    return name.find_first_of(std::u16string_view(u"/\\\0", 3)) == std::u16string_view::npos;
}

bool try_language(Dictionary& dictionary, std::u16string_view name) {
    std::u16string path = language_path(name);
    return !path.empty() && dictionary.load(path);
}

}  // namespace

std::vector<LanguageFile> language_files() {
    std::vector<LanguageFile> files;
    std::error_code ec;
    std::filesystem::directory_iterator it(paths::native(paths::expand_folder(u"%app_path%")), ec);
    if (ec) return files;
    for (; it != std::filesystem::directory_iterator(); it.increment(ec)) {
        if (ec) break;
        std::string raw = it->path().filename().string();
        std::u16string file_name = utf16::from_utf8(raw);
        // A name that is not valid UTF-8 would not survive the trip back into
        // a path, so the file could never be opened by it.
        if (utf16::to_utf8(file_name) != raw) continue;
        if (!has_language_extension(file_name)) continue;
        std::error_code type_ec;
        if (!it->is_regular_file(type_ec)) continue;
        files.push_back({file_name.substr(0, file_name.size() - kExtension.size()),
                         u"%app_path%/" + file_name});
    }
    std::sort(files.begin(), files.end(), [](const LanguageFile& a, const LanguageFile& b) {
        return paths::file_part(a.path) < paths::file_part(b.path);
    });
    return files;
}

bool has_several_languages() { return language_files().size() > 1; }

std::u16string language_path(std::u16string_view name) {
    if (!names_file_of_program_folder(name)) return {};
    std::u16string exact = u"%app_path%/" + std::u16string(name) + std::u16string(kExtension);
    std::error_code ec;
    if (std::filesystem::is_regular_file(paths::native(paths::expand(exact)), ec)) return exact;
    std::u16string wanted = paths::to_upper(name);
    for (const LanguageFile& file : language_files())
        if (paths::to_upper(file.name) == wanted) return file.path;
    return exact;
}

bool choose_language_at_start(Dictionary& dictionary, std::u16string_view product_key_name) {
    RegistryPath key(u"HKEY_CURRENT_USER\\Software\\Zelvor\\" + std::u16string(product_key_name));
    std::u16string chosen;
    if (!registry::read_string(key, u"Language", chosen)) chosen.clear();
    if (try_language(dictionary, chosen) || try_language(dictionary, system_language_name()) ||
        try_language(dictionary, u"english"))
        return true;
    for (const LanguageFile& file : language_files())
        if (dictionary.load(file.path)) return true;
    log() << u"No languages, please reinstall\n";
    return false;
}
