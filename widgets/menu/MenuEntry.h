#pragma once
// One entry of a menu. Its key names it, is the language key of its text
// (when text is empty) and names the submenu it opens. The key
// "Magic4Buttons" marks the row of buttons, whose buttons report their own
// ids as the chosen key.
#include <string>

struct MenuEntry {
    static constexpr std::u16string_view kButtonRow = u"Magic4Buttons";

    std::u16string key;
    std::u16string text;
    std::u16string data;
    // The skin node of the row; empty for the menu's default row node.
    std::u16string row_node;
    // A disabled entry uses its row node with "Disabled" appended and
    // ignores taps.
    bool enabled = true;
    bool separator = false;
    bool checked = false;

    friend bool operator==(const MenuEntry&, const MenuEntry&) = default;
};
