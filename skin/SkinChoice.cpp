#include "skin/SkinChoice.h"

#include <algorithm>

#include "lang/LanguageChoice.h"
#include "platform/Log.h"
#include "platform/Paths.h"
#include "platform/Registry.h"
#include "skin/Properties.h"

namespace {

constexpr std::u16string_view kExtension = u".skin";

std::u16string skin_folder(std::u16string_view base) {
    return std::u16string(base) + u"/skins/bin";
}

bool is_splash(std::u16string_view name) { return paths::to_upper(name) == u"SPLASH"; }

}  // namespace

std::vector<SkinFileEntry> skin_files(std::u16string_view base) {
    std::vector<SkinFileEntry> files = program_files(skin_folder(base), kExtension);
    std::erase_if(files, [](const SkinFileEntry& file) { return is_splash(file.name); });
    return files;
}

bool has_several_skins() { return skin_files().size() > 1; }

std::u16string skin_path(std::u16string_view name, std::u16string_view base) {
    if (is_splash(name)) return {};
    std::u16string path = program_file_path(skin_folder(base), name, kExtension);
    // A name in another letter case may have been resolved to the splash file.
    return is_splash(program_file_name(path)) ? std::u16string() : path;
}

std::vector<std::u16string> skins_to_try(std::u16string_view product_key_name,
                                         std::u16string_view base) {
    std::vector<std::u16string> paths;
    auto add = [&paths](std::u16string path) {
        if (!path.empty() && std::find(paths.begin(), paths.end(), path) == paths.end())
            paths.push_back(std::move(path));
    };
    std::u16string chosen;
    if (!registry::read_string(choice_key(product_key_name), u"Skin", chosen)) chosen.clear();
    if (!chosen.empty()) add(skin_path(chosen, base));
    add(skin_path(u"default", base));
    for (SkinFileEntry& file : skin_files(base)) add(std::move(file.path));
    return paths;
}

bool choose_skin_at_start(Properties& properties, std::u16string_view product_key_name,
                          const ScreenInfo& screen, std::u16string_view base) {
    for (const std::u16string& path : skins_to_try(product_key_name, base))
        if (properties.load_skin(path, screen)) return true;
    log() << u"No skins, please reinstall\n";
    return false;
}
