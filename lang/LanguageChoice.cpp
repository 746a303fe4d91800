#include "lang/LanguageChoice.h"

#include "lang/SystemLanguage.h"
#include "platform/Log.h"
#include "platform/Registry.h"

namespace {

constexpr std::u16string_view kFolder = u"%app_path%";
constexpr std::u16string_view kExtension = u".lng";

bool try_language(Dictionary& dictionary, std::u16string_view name) {
    std::u16string path = language_path(name);
    return !path.empty() && dictionary.load(path);
}

}  // namespace

RegistryPath choice_key(std::u16string_view product_key_name) {
    return RegistryPath(u"HKEY_CURRENT_USER\\Software\\Zelvor\\" +
                        std::u16string(product_key_name));
}

std::vector<LanguageFile> language_files() { return program_files(kFolder, kExtension); }

bool has_several_languages() { return language_files().size() > 1; }

std::u16string language_path(std::u16string_view name) {
    return program_file_path(kFolder, name, kExtension);
}

bool choose_language_at_start(Dictionary& dictionary, std::u16string_view product_key_name) {
    std::u16string chosen;
    if (!registry::read_string(choice_key(product_key_name), u"Language", chosen)) chosen.clear();
    if (try_language(dictionary, chosen) || try_language(dictionary, system_language_name()) ||
        try_language(dictionary, u"english"))
        return true;
    for (const LanguageFile& file : language_files())
        if (dictionary.load(file.path)) return true;
    log() << u"No languages, please reinstall\n";
    return false;
}
