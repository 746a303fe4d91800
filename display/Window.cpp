#include "display/Window.h"

#include <SDL.h>

#include <cstdlib>
#include <string_view>

#include "display/HeadlessWindow.h"
#include "display/SdlWindow.h"
#include "platform/TerminalText.h"

namespace {

std::string_view video_choice() {
    const char* value = std::getenv(Window::kVideoVariable);
    return value != nullptr ? std::string_view(value) : std::string_view();
}

}  // namespace

std::unique_ptr<Window> Window::create(const std::u16string& title, const ScreenInfo& screen) {
    std::string_view video = video_choice();
    if (video.empty() || video == "sdl") return std::make_unique<SdlWindow>(title, screen);
    if (video == "headless") return std::make_unique<HeadlessWindow>(screen);
    throw WindowError(std::string(kVideoVariable) + "=\"" + terminal_text::clean_utf8(video) +
                      "\" is not a video output (expected sdl or headless)");
}

void Window::show_error_box(const std::string& title, const std::string& line) {
    if (video_choice() == "headless") return;
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    bool desktop = (x11 != nullptr && *x11 != '\0') || (wayland != nullptr && *wayland != '\0');
    if (!desktop) return;
    // Fails (and returns) when the desktop cannot be reached; the caller has
    // written the line to the terminal already.
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), line.c_str(), nullptr);
}
