#pragma once
// Owns one SDL_Window and destroys it when it goes. Renderers and textures
// made for the window must go first.
#include <SDL.h>

#include <utility>

class SdlWindowHandle {
public:
    SdlWindowHandle() = default;
    explicit SdlWindowHandle(SDL_Window* handle) : handle_(handle) {}
    ~SdlWindowHandle() { reset(); }
    SdlWindowHandle(SdlWindowHandle&& other) noexcept
        : handle_(std::exchange(other.handle_, nullptr)) {}
    SdlWindowHandle& operator=(SdlWindowHandle&& other) noexcept {
        if (this != &other) reset(std::exchange(other.handle_, nullptr));
        return *this;
    }
    SdlWindowHandle(const SdlWindowHandle&) = delete;
    SdlWindowHandle& operator=(const SdlWindowHandle&) = delete;

    SDL_Window* get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

    // Destroys the handle held (if any) and takes handle instead.
    void reset(SDL_Window* handle = nullptr) {
        if (handle_ != nullptr) SDL_DestroyWindow(handle_);
        handle_ = handle;
    }

private:
    SDL_Window* handle_ = nullptr;
};
