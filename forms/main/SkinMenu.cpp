#include "forms/main/SkinMenu.h"

#include "forms/AppControl.h"
#include "forms/main/FileMenuEntries.h"
#include "skin/Properties.h"
#include "skin/SkinChoice.h"

bool SkinMenu::fill(Properties& properties, const std::u16string& key,
                    std::vector<MenuEntry>& entries) {
    if (key == kKey) {
        file_menu::append_entries(properties, skin_files(), kEntryPrefix, properties.skin_path(),
                                  entries);
        return false;
    }
    std::optional<std::u16string_view> name = file_menu::chosen_name(key, kEntryPrefix);
    if (!name) return false;
    std::u16string path = skin_path(*name);
    if (path.empty() || path == properties.skin_path() ||
        !properties.load_skin(path, app_control::screen()))
        return false;
    file_menu::remember(u"Skin", *name);
    return true;
}

bool SkinMenu::offered() { return has_several_skins(); }
