#pragma once
// The handset screen in a desktop window, through SDL.
//
// Frames from either path are kept as the last frame and drawn letterboxed
// into the window (see Viewport); the window draws them again by itself when
// the desktop uncovers or resizes it. Turning the window between portrait and
// landscape turns the handset screen. Keys arrive as Windows virtual keys,
// pointer positions as handset pixels. Injected events and capture notices
// wait in a queue of their own; an SDL user event interrupts SDL's wait for
// them.
#include <SDL.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "display/EventQueue.h"
#include "display/LastFrame.h"
#include "display/PointerCapture.h"
#include "display/SdlRenderer.h"
#include "display/SdlTexture.h"
#include "display/SdlVideo.h"
#include "display/SdlWindowHandle.h"
#include "display/Viewport.h"
#include "display/Window.h"

class SdlWindow : public Window {
public:
    // Opens a resizable window for screen on the current desktop (see
    // Viewport::initial_window_size) with a renderer: an accelerated one when
    // the system has one, else SDL's software renderer on the window surface.
    // Throws WindowError with SDL's reason when it cannot.
    SdlWindow(const std::u16string& title, const ScreenInfo& screen);
    ~SdlWindow() override;

    ScreenInfo screen() const override { return screen_; }

    bool wait_event(WindowEvent& event, int32_t timeout_ms) override;
    void wake() override;
    void inject(WindowEvent event) override;

    std::unique_ptr<Display> open_display(Size size) override;
    void paint(const PixelBuffer& pixels) override;
    const PixelBuffer* last_frame() const override { return last_frame_.get(); }

    void capture_pointer(bool on) override;

    void start_text_input(Rect area) override;
    void stop_text_input() override;
    bool has_screen_keyboard() const override;
    bool input_panel_shown() const override;
    std::u16string clipboard_text() override;
    void set_clipboard_text(std::u16string_view text) override;

    void minimise() override;
    void bring_to_front() override;
    bool minimised() const override;

    // The SDL window, for tests that act on it as the desktop would.
    SDL_Window* sdl_window() const { return window_.get(); }

private:
    enum class Outcome { Deliver, Skip };

    // Turns an SDL event into a window event, or handles it here (Skip).
    Outcome translate(const SDL_Event& sdl, WindowEvent& event);
    Outcome translate_window_event(const SDL_WindowEvent& sdl, WindowEvent& event);
    // A composition of utf8 with the cursor at start code points.
    static Outcome composition(const char* utf8, int32_t start, WindowEvent& event);
    // Takes an injected or window-system event, if any, applying the capture rule.
    bool take_queued(WindowEvent& event);
    void deliver(WindowEvent& event);
    // Makes SDL's wait return, to look at queued_.
    void interrupt_wait();

    // Keeps pixels as the last frame and shows it.
    void present(const PixelBuffer& pixels);
    // Draws the bars and the last frame (if any) into the window.
    void show_last_frame();
    bool ensure_texture(Size size);
    // The layout of the picture now on show in the window as it is now.
    Viewport viewport() const;
    Point to_handset(int32_t x, int32_t y) const;

    SdlVideo video_;
    SdlWindowHandle window_;
    SdlRenderer renderer_;
    SdlTexture texture_;
    Size texture_size_;
    Size failed_texture_size_;
    uint32_t interrupt_type_ = 0;
    std::atomic<bool> interrupt_pending_{false};
    ScreenInfo screen_;
    EventQueue queued_;
    PointerCapture capture_;
    LastFrame last_frame_;
    bool minimised_ = false;
};
