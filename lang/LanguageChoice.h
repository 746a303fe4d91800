#pragma once
// Which language file the program speaks. Language files are the "*.lng" files
// directly in the program folder ("%app_path%", no subfolders); a language's
// name is its file name without the extension. The chosen language is the
// registry string "Language" under HKEY_CURRENT_USER\Software\Zelvor\<product>,
// written only when the user picks a language from the menu.
//
// Names are matched as ProgramFiles describes: the extension and, when the
// exact file does not exist, the name in any letter case.
#include <string>
#include <string_view>
#include <vector>

#include "lang/Dictionary.h"
#include "lang/ProgramFiles.h"
#include "platform/RegistryPath.h"

// The product key name this program keeps its settings under.
inline constexpr std::u16string_view kProductKeyName = u"Quillmo";

// HKEY_CURRENT_USER\Software\Zelvor\<product_key_name>: the key of the
// "Language" and "Skin" choices.
RegistryPath choice_key(std::u16string_view product_key_name = kProductKeyName);

// name: file name without ".lng" ("english"); path: "%app_path%/" + file
// name, as Dictionary::load takes it.
using LanguageFile = ProgramFile;

// The language files of the program folder, sorted by file name in plain
// code-unit order. Only regular files (or links to them) whose names are
// valid UTF-8 are listed; an unreadable folder gives an empty list.
std::vector<LanguageFile> language_files();

// Whether the program folder holds more than one language file, which is when
// the main menu offers a choice of language.
bool has_several_languages();

// The path of the language file called name: "%app_path%/" + name + ".lng"
// when that file exists, else the first language file whose name equals name
// ignoring letter case, else "%app_path%/" + name + ".lng" all the same (its
// load then fails). "" for a name that cannot name a file of the program
// folder (one holding "/", "\" or a zero character).
std::u16string language_path(std::u16string_view name);

// The start-up choice: the registry's "Language" (an unreadable value counts
// as ""), then the system language's name ("GERMAN"), then "english", then
// every language file in sorted order, until one loads into dictionary.
// Writes nothing to the registry. False, with the dictionary untouched and a
// log line, when no language file loads; the program then shows every text
// by its key.
bool choose_language_at_start(Dictionary& dictionary, std::u16string_view product_key_name);
