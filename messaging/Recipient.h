#pragma once
// One end of a message: a display name and the SMS address (a phone number or
// an alphanumeric sender).
#include <string>

struct Recipient {
    std::u16string name;
    std::u16string number;

    bool empty() const { return name.empty() && number.empty(); }
    friend bool operator==(const Recipient&, const Recipient&) = default;
};
