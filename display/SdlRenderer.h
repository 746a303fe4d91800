#pragma once
// Owns one SDL_Renderer and destroys it when it goes. It goes before its
// window, its textures before it.
#include <SDL.h>

#include <utility>

class SdlRenderer {
public:
    SdlRenderer() = default;
    explicit SdlRenderer(SDL_Renderer* handle) : handle_(handle) {}
    ~SdlRenderer() { reset(); }
    SdlRenderer(SdlRenderer&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    SdlRenderer& operator=(SdlRenderer&& other) noexcept {
        if (this != &other) reset(std::exchange(other.handle_, nullptr));
        return *this;
    }
    SdlRenderer(const SdlRenderer&) = delete;
    SdlRenderer& operator=(const SdlRenderer&) = delete;

    SDL_Renderer* get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

    // Destroys the handle held (if any) and takes handle instead.
    void reset(SDL_Renderer* handle = nullptr) {
        if (handle_ != nullptr) SDL_DestroyRenderer(handle_);
        handle_ = handle;
    }

private:
    SDL_Renderer* handle_ = nullptr;
};
