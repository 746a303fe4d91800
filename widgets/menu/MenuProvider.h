#pragma once
// The form that opens a menu answers for its entries: asked for a menu key it
// either gives the entries of that submenu, or carries out the command of a
// leaf key and gives none, which closes the menu.
#include <string>
#include <vector>

#include "widgets/menu/MenuEntry.h"

class MenuProvider {
public:
    virtual ~MenuProvider() = default;
    // Puts the entries of key into entries (empty on entry), in display
    // order, or runs the command of a leaf and leaves entries empty. context
    // is what the opener gave the menu; caption may be changed.
    virtual void fill(const std::u16string& context, const std::u16string& key,
                      std::u16string& caption, std::vector<MenuEntry>& entries) = 0;
};
