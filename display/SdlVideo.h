#pragma once
// SDL's video subsystem (and its event queue) for as long as this object
// lives. SDL counts the users of a subsystem, so each window may hold one.
#include <SDL.h>

class SdlVideo {
public:
    // Starts the video subsystem; ok() tells whether it did (SDL_GetError()
    // says why not).
    SdlVideo() : ok_(SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) {}
    ~SdlVideo() {
        if (ok_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
    SdlVideo(const SdlVideo&) = delete;
    SdlVideo& operator=(const SdlVideo&) = delete;

    bool ok() const { return ok_; }

private:
    bool ok_;
};
