#pragma once
// One complete vCard (BEGIN:VCARD ... END:VCARD) as the parser hands it out.
// Its views are valid only during the parser's callback.
#include <cstddef>
#include <string_view>
#include <vector>

#include "platform/contacts/VCardProperty.h"

struct VCard {
    // The VERSION value ("2.1", "3.0", "4.0"), or empty when the card has none.
    std::string_view version;
    // Every content line between BEGIN and END except VERSION, in file order.
    // Lines of a nested card (a vCard 2.1 AGENT) are not among them.
    std::vector<VCardProperty> properties;
    // The card's place in the text: 1 for the first BEGIN:VCARD, counting
    // cards that were skipped but not cards nested in another.
    size_t number = 0;
    // The card's own text, from the B of BEGIN to the line end after END:VCARD.
    std::string_view text;

    // The first property of that name, or null.
    const VCardProperty* find(std::string_view name) const {
        for (const VCardProperty& p : properties)
            if (p.is(name)) return &p;
        return nullptr;
    }
    bool is_v21() const { return version == "2.1"; }
};
