#pragma once
// The "Skin" menu of the main menu: one entry per main skin ("splash" never),
// the current one checked, and choosing one loads it for the program's screen
// and remembers it as the registry's "Skin" (see SkinChoice).
#include <string>
#include <vector>

#include "widgets/menu/MenuEntry.h"

class Properties;

class SkinMenu {
public:
    static constexpr std::u16string_view kKey = u"Skin";
    // Entry keys are kEntryPrefix + the skin's name.
    static constexpr std::u16string_view kEntryPrefix = u"Skin#";

    // For key "Skin": appends one entry per main skin in sorted order (key
    // "Skin#NAME", text NAME, checked when NAME matches the current skin's
    // file name ignoring letter case), then "Cancel"; false.
    // For "Skin#NAME": when that skin is not the current one and loads into
    // properties for app_control::screen(), writes NAME as the registry's
    // "Skin" and returns true; the caller then has every form rebuilt. A skin
    // that is current, missing or damaged leaves the current skin: false.
    // Any other key: nothing, false.
    static bool fill(Properties& properties, const std::u16string& key,
                     std::vector<MenuEntry>& entries);

    // Whether the main menu offers the "Skin" entry: more than one main skin.
    static bool offered();
};
