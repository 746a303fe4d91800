#pragma once
// Desktop keys in the handset's numbering: the application maps Windows
// virtual-key numbers to its key codes, so the SDL window speaks them too.
#include <cstdint>

namespace virtual_key {

// The Windows virtual-key number of an SDL key code (SDL_Keycode): letters
// 65-90, digits and keypad digits 48-57, F1-F12 112-123, arrows 37-40, the
// editing and navigation keys, the modifiers (either side) 16-18, the menu
// key 93, a phone's back key as Escape (27) and its volume keys as F6/F7
// (117/118), where the handset has them. 0 for every other key.
int32_t from_sdl(int32_t sdl_keycode);

}  // namespace virtual_key
