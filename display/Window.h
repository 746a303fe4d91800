#pragma once
// The program's one top-level window: the source of its input events and the
// place its frames are shown. Two kinds exist: an SDL window on the desktop
// and a headless one for tests and scripted runs; $QUILLMO_VIDEO picks.
//
// All calls come from the user-interface thread, except wake() and inject(),
// which any thread may call while the window exists.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "display/Display.h"
#include "display/WindowError.h"
#include "display/WindowEvent.h"
#include "draw/PixelBuffer.h"
#include "draw/Rect.h"
#include "draw/Size.h"
#include "input/ScreenInfo.h"

class Window {
public:
    static constexpr const char* kVideoVariable = "QUILLMO_VIDEO";

    // A window titled title showing a handset of the given screen: an SDL
    // window when $QUILLMO_VIDEO is unset, empty or "sdl", a headless one when
    // it is "headless". Throws WindowError (one line) for any other value and
    // when no window can be opened.
    static std::unique_ptr<Window> create(const std::u16string& title, const ScreenInfo& screen);

    // Shows an error box with title and line when a desktop can show one
    // (DISPLAY or WAYLAND_DISPLAY set and QUILLMO_VIDEO is not "headless");
    // otherwise does nothing. Never hangs without a display.
    static void show_error_box(const std::string& title, const std::string& line);

    virtual ~Window() = default;

    // A fresh reading of the handset screen; it changes when the screen turns
    // (a Resized event says so).
    virtual ScreenInfo screen() const = 0;

    // Takes the next event into event. timeout_ms -1 waits as long as it
    // takes, 0 only looks; returns false when nothing came in time. A blocked
    // wait sleeps: it costs no CPU.
    virtual bool wait_event(WindowEvent& event, int32_t timeout_ms) = 0;
    // Makes a waiting (or the next) wait_event return, with a Wake event.
    // Wakes that pile up before the loop looks give one Wake. Thread-safe.
    virtual void wake() = 0;
    // Queues event as if the user made it, and wakes the waiter. Thread-safe.
    virtual void inject(WindowEvent event) = 0;

    // Direct mode: a frame buffer of size on this window (see Display). The
    // display must be destroyed before the window.
    virtual std::unique_ptr<Display> open_display(Size size) = 0;
    // The painting path: shows pixels in the window.
    virtual void paint(const PixelBuffer& pixels) = 0;
    // A copy of the last frame shown by either path, null before the first.
    // Only this program's own pixels are ever read back.
    virtual const PixelBuffer* last_frame() const = 0;

    // on: holds the pointer for this window while a button is down, so that
    // moves and the release outside it still arrive. Whenever a held capture
    // ends, by capture_pointer(false) or because the window lost the focus,
    // exactly one CaptureChanged event follows, ahead of the events already
    // queued (a Deactivate that ended it comes right after it). Ending a
    // capture that is not held delivers nothing.
    virtual void capture_pointer(bool on) = 0;

    // ---- Text input, while an edit box has the focus ----
    // Typed text (Char) and input method compositions (Composition) arrive
    // only between start and stop. area (handset pixels, the caret's line) is
    // where an input method puts its window; where the system has an
    // on-screen keyboard, starting raises it. Starting again only moves the
    // area.
    virtual void start_text_input(Rect area) = 0;
    virtual void stop_text_input() = 0;
    // Whether the system raises an on-screen keyboard for text input.
    virtual bool has_screen_keyboard() const = 0;
    // Whether the input panel is up: text input is on and, where there is an
    // on-screen keyboard, the user has not put it away.
    virtual bool input_panel_shown() const = 0;

    // ---- Clipboard ----
    // The clipboard's text; empty when it holds none, cannot be read, or holds
    // more than kMaxClipboardBytes (logged).
    static constexpr size_t kMaxClipboardBytes = 4 * 1024 * 1024;
    virtual std::u16string clipboard_text() = 0;
    // Puts text on the clipboard; a failure is logged.
    virtual void set_clipboard_text(std::u16string_view text) = 0;

    virtual void minimise() = 0;
    // Restores a minimised window and raises it above the others.
    virtual void bring_to_front() = 0;
    virtual bool minimised() const = 0;
};
