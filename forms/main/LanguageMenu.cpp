#include "forms/main/LanguageMenu.h"

#include "forms/main/FileMenuEntries.h"
#include "lang/LanguageChoice.h"
#include "skin/Properties.h"

bool LanguageMenu::fill(Properties& properties, const std::u16string& key,
                        std::vector<MenuEntry>& entries) {
    Dictionary& dictionary = properties.dictionary();
    if (key == kKey) {
        file_menu::append_entries(properties, language_files(), kEntryPrefix, dictionary.path(),
                                  entries);
        return false;
    }
    std::optional<std::u16string_view> name = file_menu::chosen_name(key, kEntryPrefix);
    if (!name) return false;
    std::u16string path = language_path(*name);
    if (path.empty() || path == dictionary.path() || !dictionary.load(path)) return false;
    file_menu::remember(u"Language", *name);
    return true;
}

bool LanguageMenu::offered() { return has_several_languages(); }
