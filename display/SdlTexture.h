#pragma once
// Owns one SDL_Texture and destroys it when it goes, before its renderer.
#include <SDL.h>

#include <utility>

class SdlTexture {
public:
    SdlTexture() = default;
    explicit SdlTexture(SDL_Texture* handle) : handle_(handle) {}
    ~SdlTexture() { reset(); }
    SdlTexture(SdlTexture&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    SdlTexture& operator=(SdlTexture&& other) noexcept {
        if (this != &other) reset(std::exchange(other.handle_, nullptr));
        return *this;
    }
    SdlTexture(const SdlTexture&) = delete;
    SdlTexture& operator=(const SdlTexture&) = delete;

    SDL_Texture* get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

    // Destroys the handle held (if any) and takes handle instead.
    void reset(SDL_Texture* handle = nullptr) {
        if (handle_ != nullptr) SDL_DestroyTexture(handle_);
        handle_ = handle;
    }

private:
    SDL_Texture* handle_ = nullptr;
};
