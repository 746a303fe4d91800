#pragma once
// The "Language" menu of the main menu: one entry per language file, the
// current one checked, and choosing one switches the program's language and
// remembers it as the registry's "Language" (see LanguageChoice).
#include <string>
#include <vector>

#include "widgets/menu/MenuEntry.h"

class Properties;

class LanguageMenu {
public:
    static constexpr std::u16string_view kKey = u"Language";
    // Entry keys are kEntryPrefix + the language's name.
    static constexpr std::u16string_view kEntryPrefix = u"Language#";

    // For key "Language": appends one entry per language file in sorted order
    // (key "Language#NAME", text NAME, checked when NAME matches the current
    // dictionary's file name ignoring letter case), then "Cancel"; false.
    // For "Language#NAME": when that file is not the current dictionary's and
    // loads into properties' dictionary, writes NAME as the registry's
    // "Language" and returns true; the caller then rebuilds its texts. A file
    // that is current, missing or unreadable changes nothing: false. Any
    // other key: nothing, false.
    static bool fill(Properties& properties, const std::u16string& key,
                     std::vector<MenuEntry>& entries);

    // Whether the main menu offers the "Language" entry: more than one file.
    static bool offered();
};
