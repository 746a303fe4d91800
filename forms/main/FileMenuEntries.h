#pragma once
// What the language and skin menus share: each lists the files of one kind,
// checks the current one and reads the chosen file's name back from the key
// of its entry.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lang/ProgramFiles.h"
#include "platform/RegistryPath.h"
#include "widgets/menu/MenuEntry.h"

class Properties;

namespace file_menu {

// Appends one entry per file (key prefix + name, text name, checked when the
// name equals current_path's file name ignoring letter case), then "Cancel"
// with its language text.
void append_entries(const Properties& properties, const std::vector<ProgramFile>& files,
                    std::u16string_view prefix, std::u16string_view current_path,
                    std::vector<MenuEntry>& entries);

// The name of the file key chooses (key = prefix + name), or nothing for a
// key of another kind.
std::optional<std::u16string_view> chosen_name(std::u16string_view key, std::u16string_view prefix);

// Keeps name as the registry value value_name of the program's choices; a
// registry that refuses it is logged, and the switch stands for this run.
void remember(std::u16string_view value_name, std::u16string_view name);

}  // namespace file_menu
