#include "display/VirtualKey.h"

#include <SDL_keycode.h>

namespace virtual_key {

int32_t from_sdl(int32_t sdl_keycode) {
    // Letters and digits arrive as their lower-case ASCII characters.
    if (sdl_keycode >= SDLK_a && sdl_keycode <= SDLK_z) return 'A' + (sdl_keycode - SDLK_a);
    if (sdl_keycode >= SDLK_0 && sdl_keycode <= SDLK_9) return '0' + (sdl_keycode - SDLK_0);
    // The keypad digits are not one run of SDL codes: 1..9 follow each other
    // and 0 comes after 9.
    if (sdl_keycode >= SDLK_KP_1 && sdl_keycode <= SDLK_KP_9)
        return '1' + (sdl_keycode - SDLK_KP_1);
    if (sdl_keycode >= SDLK_F1 && sdl_keycode <= SDLK_F12) return 112 + (sdl_keycode - SDLK_F1);
    switch (sdl_keycode) {
        case SDLK_KP_0:
            return '0';
        case SDLK_LEFT:
            return 37;
        case SDLK_UP:
            return 38;
        case SDLK_RIGHT:
            return 39;
        case SDLK_DOWN:
            return 40;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return 13;
        case SDLK_BACKSPACE:
            return 8;
        case SDLK_ESCAPE:
        case SDLK_AC_BACK:
            return 27;
        case SDLK_TAB:
            return 9;
        case SDLK_SPACE:
            return 32;
        case SDLK_DELETE:
            return 46;
        case SDLK_INSERT:
            return 45;
        case SDLK_HOME:
            return 36;
        case SDLK_END:
            return 35;
        case SDLK_PAGEUP:
            return 33;
        case SDLK_PAGEDOWN:
            return 34;
        case SDLK_LSHIFT:
        case SDLK_RSHIFT:
            return 16;
        case SDLK_LCTRL:
        case SDLK_RCTRL:
            return 17;
        case SDLK_LALT:
        case SDLK_RALT:
            return 18;
        case SDLK_APPLICATION:
        case SDLK_MENU:
            return 93;
        case SDLK_VOLUMEUP:
            return 117;
        case SDLK_VOLUMEDOWN:
            return 118;
        default:
            return 0;
    }
}

}  // namespace virtual_key
