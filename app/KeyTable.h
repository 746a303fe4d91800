#pragma once
// The handset's keys as the program knows them: which virtual key (the window
// system's key number) gives which program key code. Skins and forms see only
// the program codes; the log shows both.
#include <cstdint>
#include <optional>

#include "input/KeyCode.h"

class KeyTable {
public:
    // The program code of a virtual key; None for every key the table does not
    // list (F5 among them). Escape gives Backspace: it is the handset's back
    // key.
    static KeyCode from_virtual_key(int32_t virtual_key);
    // A virtual key that gives code, for scripted key presses; nothing for the
    // codes no key produces (Esc, SLIDE) and for None.
    static std::optional<int32_t> virtual_key_for(KeyCode code);
};
