#include "forms/main/FileMenuEntries.h"

#include "lang/LanguageChoice.h"
#include "platform/Log.h"
#include "platform/Paths.h"
#include "platform/Registry.h"
#include "skin/Properties.h"

namespace file_menu {

void append_entries(const Properties& properties, const std::vector<ProgramFile>& files,
                    std::u16string_view prefix, std::u16string_view current_path,
                    std::vector<MenuEntry>& entries) {
    const std::u16string current = paths::to_upper(program_file_name(current_path));
    for (const ProgramFile& file : files) {
        MenuEntry entry{std::u16string(prefix) + file.name, file.name};
        entry.checked = !current_path.empty() && paths::to_upper(file.name) == current;
        entries.push_back(std::move(entry));
    }
    entries.push_back({u"Cancel", properties.translate(u"Cancel")});
}

std::optional<std::u16string_view> chosen_name(std::u16string_view key,
                                               std::u16string_view prefix) {
    if (!key.starts_with(prefix)) return std::nullopt;
    return key.substr(prefix.size());
}

void remember(std::u16string_view value_name, std::u16string_view name) {
    std::string error;
    if (!registry::write_string(choice_key(), value_name, name, &error))
        log() << u"Could not keep the choice of " << value_name << u": " << error << u"\n";
}

}  // namespace file_menu
