#pragma once
// Which skin the program wears. Skins are the "*.skin" files directly in
// base + "/skins/bin" (base is "%app_path%" unless a caller says otherwise);
// a skin's name is its file name without the extension. The file named
// "splash" (any letter case) is the splash screen's own skin and never a main
// skin: no list or choice here offers it. The chosen skin is the registry
// string "Skin" beside the chosen language (see LanguageChoice), written only
// when the user picks a skin from the menu.
//
// Names are matched as ProgramFiles describes: the extension and, when the
// exact file does not exist, the name in any letter case.
#include <string>
#include <string_view>
#include <vector>

#include "input/ScreenInfo.h"
#include "lang/ProgramFiles.h"

class Properties;

// name: file name without ".skin" ("default"); path: base + "/skins/bin/" +
// file name, as Properties::load_skin takes it.
using SkinFileEntry = ProgramFile;

// The main skins of base's skin folder, sorted by file name in plain
// code-unit order, without "splash". Empty when the folder is missing.
std::vector<SkinFileEntry> skin_files(std::u16string_view base = u"%app_path%");

// Whether the program folder holds more than one main skin, which is when the
// main menu offers a choice of skin.
bool has_several_skins();

// The path of the main skin called name (see program_file_path), or "" for a
// name that cannot name one: "splash", or one leading outside the folder.
std::u16string skin_path(std::u16string_view name, std::u16string_view base = u"%app_path%");

// The skins the start-up choice tries, best first and each once: the
// registry's "Skin" (unless unreadable or empty), then "default", then
// every skin of skin_files(base) in order. Paths as skin_path gives them.
std::vector<std::u16string> skins_to_try(std::u16string_view product_key_name,
                                         std::u16string_view base = u"%app_path%");

// Loads the first of skins_to_try() that loads for screen into properties.
// Writes nothing to the registry. False, with properties untouched and a log
// line, when none loads.
bool choose_skin_at_start(Properties& properties, std::u16string_view product_key_name,
                          const ScreenInfo& screen, std::u16string_view base = u"%app_path%");
