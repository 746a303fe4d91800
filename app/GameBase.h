#pragma once
// The window object: the program's one top-level window and what belongs to
// it. It runs the event loop, turns the window's events into key, character
// and pointer events for the forms (its window procedure), advances time,
// draws when something changed, and presents the picture either straight to
// the display (direct mode) or through the window's painting (GDI mode, while
// a native edit control is shown). While an edit element is bound, the native
// edit box lies over it and takes the keys, typed text and presses on it
// first; the picture goes through the window's painting, with the box drawn
// over the forms. It also owns the active-object scheduler
// and serves its one timer, and takes over the command lines of later starts.
//
// Idle is asleep: while nothing animates the loop blocks until the next
// event, timer or scripted step instead of polling. A window in the
// background (deactivated, or the user handed to another program) still
// shows changes, as desktop windows stay visible; a minimised one is not
// drawn until it comes back.
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "display/Display.h"
#include "display/Window.h"
#include "display/WindowEvent.h"
#include "draw/Point.h"
#include "draw/RenderSurface.h"
#include "input/ScreenInfo.h"
#include "platform/Stopwatch.h"
#include "platform/active/CActiveScheduler.h"
#include "widgets/edit/NativeEditHost.h"

class Application;
class NativeEdit;
class ScriptRun;
class SingleInstance;

class GameBase : public NativeEditHost {
public:
    // The pointer-up position while a button is held: no position.
    static constexpr int32_t kNoPosition = -1000000;
    // Window timer 1: the pace of GDI mode.
    static constexpr int32_t kGdiTimerMs = 40;
    // The pause between frames while something animates.
    static constexpr int32_t kFrameMs = 10;

    // Creates the window (Window::create: throws WindowError when it cannot),
    // starts taking hand-overs from later starts when instance is given, then
    // releases the single-instance lock. Logs " GameBase 0" to " GameBase 5".
    GameBase(Application& app, const std::u16string& application_name, const ScreenInfo& screen,
             SingleInstance* instance);
    ~GameBase() override;
    GameBase(const GameBase&) = delete;
    GameBase& operator=(const GameBase&) = delete;

    // The event loop, until quit. Returns the status passed to quit().
    int run();
    // Handles every pending event, then one frame tick (drawing even within
    // the same millisecond).
    void pump();
    // Ends the loop after the current event. Thread-safe.
    void post_quit(int status);

    // ---- Modes ----
    void set_key_input(bool on);
    void set_gdi_mode(bool variant);
    void set_direct_mode(int32_t orientation);
    bool gdi_mode() const { return gdi_mode_; }
    bool has_display() const { return display_ != nullptr; }
    Size display_size() const { return display_size_; }
    int32_t orientation() const { return orientation_; }

    // ---- The native edit ----
    // From no binding to an element: the display closes, the window paints
    // at the 40 ms pace, and the native edit binds (see NativeEdit::bind).
    // From an element to none: the native edit unbinds and, unless in GDI
    // mode, the display opens again and the pace stops. Every binding redraws.
    void bind_native_edit(EditElement* element, bool create) override;
    EditElement* bound_edit() const override;
    NativeEdit& native_edit() { return *native_edit_; }
    // Whether the picture goes through the window's painting: GDI mode, or an
    // edit element bound.
    bool window_painting() const;
    // Whether window timer 1 runs.
    bool gdi_timer_running() const { return gdi_timer_due_.has_value(); }

    // ---- Window ----
    void minimise();
    void bring_to_front();
    bool deactivated() const { return deactivated_; }
    bool backgrounded() const { return backgrounded_; }
    void mark_backgrounded() { backgrounded_ = true; }
    // The last frame put on the screen, or null before the first.
    const PixelBuffer* last_frame() const { return window_->last_frame(); }
    // The screen as last read, and a fresh reading.
    const ScreenInfo& screen_info() const { return screen_; }
    ScreenInfo read_screen_info() const { return window_->screen(); }
    // Stores a fresh reading; true when it differs from the stored one.
    bool update_screen_info();
    Window& window() { return *window_; }
    CActiveScheduler& scheduler() { return scheduler_; }
    // Lay the window out for the current mode: the forms get the client
    // rectangle on the next frame.
    void layout();

    // The keyboard-only handset: pointer events are not delivered. Read once
    // from $QUILLMO_PROFILE ("smartphone"); logged as
    // "static_capability_is_smartphone=" and the platform type.
    static bool is_smartphone();

    // The scripted run stepped by the loop (not owned; null for none).
    void set_script(ScriptRun* script) { script_ = script; }

    // The window procedure: one event as the window delivered it.
    void window_procedure(const WindowEvent& event);
    // One frame: advance time, draw when needed. from_pump skips the
    // same-tick check.
    void frame_tick(bool from_pump);

private:
    struct Posted {
        enum class Kind { CommandLine, HandOver, Quit };
        Kind kind;
        std::u16string text;
        std::function<void()> acknowledge;
        int status = 0;
    };

    void post(Posted message);
    void handle_posted();
    // A message is waiting: the loop must not sleep, whatever became of the
    // wake-up that came with it.
    bool has_posted() const;
    void on_copy_data(std::u16string text);
    void on_command_line_posted();
    void on_key(const WindowEvent& event, bool pressed);
    void on_character(std::u16string_view text);
    void on_pointer(const WindowEvent& event);
    void on_capture_changed();
    void on_gdi_timer();
    void paint();
    void present_frame();
    bool polling() const;
    int32_t wait_timeout() const;
    void serve_timers_and_script();
    double clamped_step();

    Application& app_;
    std::unique_ptr<Window> window_;
    CActiveScheduler scheduler_;
    SingleInstance* instance_;
    std::unique_ptr<NativeEdit> native_edit_;
    std::unique_ptr<Display> display_;
    ScreenInfo screen_;
    Size display_size_;
    int32_t orientation_ = 4;
    bool deactivated_ = false;
    bool backgrounded_ = false;
    bool gdi_mode_ = false;
    bool gdi_variant_ = false;
    bool key_input_ = false;
    bool pointer_held_ = false;
    // The press went to the native edit box, not to the forms.
    bool edit_pressed_ = false;
    Point pointer_up_{kNoPosition, kNoPosition};
    int64_t last_tick_ = 0;
    // The response to the user: the time from the last tap or key press to
    // the first frame of the screen it brought up, logged as "new screen
    // time:". The form is only compared, never used.
    Stopwatch since_input_;
    const void* shown_form_ = nullptr;
    // When window timer 1 fires next, while it runs.
    std::optional<int64_t> gdi_timer_due_;
    RenderSurface back_bitmap_;
    std::deque<std::u16string> command_lines_;
    // A frame is wanted: something changed since the last tick that drew
    // nothing.
    bool animating_ = true;
    bool quit_ = false;
    int exit_status_ = 0;
    ScriptRun* script_ = nullptr;

    mutable std::mutex posted_mutex_;
    std::deque<Posted> posted_;
};
