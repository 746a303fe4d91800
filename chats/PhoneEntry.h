#pragma once
// One number of one contact, or of one chat without a contact: an entry of the
// phone list, which is also the list of recipients to choose from.
#include <cstdint>
#include <string>

struct PhoneEntry {
    std::u16string name;    // the contact's display name
    std::u16string number;  // as stored in the contact
    std::u16string label;   // "mobile", "business" or "home"
    std::u16string key;     // the chat key of the number
    int32_t contact_id = -1;
    uint16_t selected = 0;  // a recipient of the open chat or of the message being written

    friend bool operator==(const PhoneEntry&, const PhoneEntry&) = default;
};
