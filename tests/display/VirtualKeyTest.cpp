#include <SDL.h>
#include <gtest/gtest.h>

#include "display/VirtualKey.h"

namespace {

TEST(VirtualKeyTest, DesktopKeysGiveTheHandsetsVirtualKeys) {
    const std::pair<int32_t, int32_t> table[] = {
        {SDLK_a, 65},        {SDLK_m, 77},         {SDLK_z, 90},           {SDLK_0, 48},
        {SDLK_5, 53},        {SDLK_9, 57},         {SDLK_KP_0, 48},        {SDLK_KP_1, 49},
        {SDLK_KP_9, 57},     {SDLK_F1, 112},       {SDLK_F5, 116},         {SDLK_F12, 123},
        {SDLK_LEFT, 37},     {SDLK_UP, 38},        {SDLK_RIGHT, 39},       {SDLK_DOWN, 40},
        {SDLK_RETURN, 13},   {SDLK_KP_ENTER, 13},  {SDLK_BACKSPACE, 8},    {SDLK_ESCAPE, 27},
        {SDLK_AC_BACK, 27},  {SDLK_TAB, 9},        {SDLK_SPACE, 32},       {SDLK_DELETE, 46},
        {SDLK_INSERT, 45},   {SDLK_HOME, 36},      {SDLK_END, 35},         {SDLK_PAGEUP, 33},
        {SDLK_PAGEDOWN, 34}, {SDLK_LSHIFT, 16},    {SDLK_RSHIFT, 16},      {SDLK_LCTRL, 17},
        {SDLK_RCTRL, 17},    {SDLK_LALT, 18},      {SDLK_RALT, 18},        {SDLK_APPLICATION, 93},
        {SDLK_MENU, 93},     {SDLK_VOLUMEUP, 117}, {SDLK_VOLUMEDOWN, 118},
    };
    for (auto [sdl, expected] : table)
        EXPECT_EQ(virtual_key::from_sdl(sdl), expected) << SDL_GetKeyName(sdl);
}

TEST(VirtualKeyTest, KeysTheHandsetLacksGiveZero) {
    // Neighbours of the letter, digit, keypad and function key runs among them.
    for (int32_t sdl : std::initializer_list<int32_t>{
             SDLK_BACKQUOTE, SDLK_LEFTBRACKET, SDLK_SLASH, SDLK_COLON, SDLK_KP_PERIOD, SDLK_KP_PLUS,
             SDLK_F13, SDLK_CAPSLOCK, SDLK_PRINTSCREEN, SDLK_LGUI, SDLK_UNKNOWN, 'A', -1})
        EXPECT_EQ(virtual_key::from_sdl(sdl), 0) << sdl;
}

}  // namespace
