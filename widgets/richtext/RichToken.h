#pragma once
// One piece of scanned message text: plain text, a link (or phone number) or a
// smiley code. Positions are UTF-16 units of the scanned text.
#include <cstdint>

struct RichToken {
    enum Kind : int32_t { PLAIN = 0, LINK = 1, SMILEY = 2 };

    int32_t start = 0;
    int32_t length = 0;
    Kind kind = PLAIN;
    // The smiley table entry of a SMILEY token, -1 for the others.
    int32_t smiley = -1;

    friend bool operator==(const RichToken&, const RichToken&) = default;
};
