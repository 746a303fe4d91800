#include "display/SdlWindow.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "display/FrameDisplay.h"
#include "display/VirtualKey.h"
#include "platform/Log.h"
#include "platform/Ticks.h"
#include "platform/Utf16.h"

namespace {

// Calm dark-grey bars around the handset picture.
constexpr Uint8 kBarGrey = 0x20;

[[noreturn]] void fail(const std::string& what) {
    throw WindowError("cannot open a window: " + what + ": " + SDL_GetError() + " (set " +
                      Window::kVideoVariable + "=headless to run without a display)");
}

WindowEvent event_of(WindowEvent::Kind kind) {
    WindowEvent event;
    event.kind = kind;
    return event;
}

}  // namespace

SdlWindow::SdlWindow(const std::u16string& title, const ScreenInfo& screen) : screen_(screen) {
    // Closing the window is the application's decision (it may refuse), so
    // the close button gives only the window's close request, not SDL_QUIT.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // An ordinary desktop window: the compositor keeps composing it.
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    // Compositions longer than SDL's fixed event text come whole.
    SDL_SetHint(SDL_HINT_IME_SUPPORT_EXTENDED_TEXT, "1");
    if (!video_.ok()) fail("no video");

    Size handset{screen.width, screen.height};
    Size size = handset;
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(0, &usable) == 0) {
        Size fitted = Viewport::initial_window_size(handset, {usable.w, usable.h});
        if (!fitted.empty()) size = fitted;
    }
    window_.reset(SDL_CreateWindow(utf16::to_utf8(title).c_str(), SDL_WINDOWPOS_CENTERED,
                                   SDL_WINDOWPOS_CENTERED, size.width, size.height,
                                   SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI));
    if (!window_) fail("no window");

    renderer_.reset(SDL_CreateRenderer(window_.get(), -1, 0));
    if (!renderer_) {
        log() << "SdlWindow: no accelerated renderer (" << SDL_GetError()
              << "), drawing in software\n";
        renderer_.reset(SDL_CreateRenderer(window_.get(), -1, SDL_RENDERER_SOFTWARE));
    }
    if (!renderer_) fail("no renderer");

    interrupt_type_ = SDL_RegisterEvents(1);
    if (interrupt_type_ == static_cast<uint32_t>(-1)) fail("no user event");
    // SDL starts text input with the video; typed text is wanted only while
    // an edit box has the focus, and an on-screen keyboard must not come up
    // before then.
    SDL_StopTextInput();
    show_last_frame();
}

SdlWindow::~SdlWindow() {
    SDL_StopTextInput();
    if (capture_.held()) SDL_CaptureMouse(SDL_FALSE);
}

bool SdlWindow::wait_event(WindowEvent& event, int32_t timeout_ms) {
    int64_t deadline = timeout_ms < 0 ? 0 : ticks::now_ms() + timeout_ms;
    for (;;) {
        if (take_queued(event)) return true;
        int wait = -1;
        if (timeout_ms >= 0)
            wait = static_cast<int>(std::max<int64_t>(0, deadline - ticks::now_ms()));
        SDL_Event sdl;
        // SDL sleeps in the desktop's event wait (X11, Wayland) until an
        // event or the timeout comes; SDL_PushEvent from another thread wakes
        // it. Past the deadline, what SDL holds already is still looked at.
        int got = wait == 0 ? SDL_PollEvent(&sdl) : SDL_WaitEventTimeout(&sdl, wait);
        // A poll ends at SDL's marker of the previous poll's end, even with
        // events behind it; the second poll reads up to now.
        if (got == 0 && wait == 0) got = SDL_PollEvent(&sdl);
        if (got == 0) {
            if (wait < 0)
                log() << "SdlWindow: waiting for events failed: " << SDL_GetError() << "\n";
            return take_queued(event);
        }
        if (translate(sdl, event) == Outcome::Deliver) {
            deliver(event);
            return true;
        }
    }
}

bool SdlWindow::take_queued(WindowEvent& event) {
    if (!queued_.try_pop(event)) return false;
    deliver(event);
    return true;
}

void SdlWindow::deliver(WindowEvent& event) {
    bool held = capture_.held();
    capture_.before_delivery(event, queued_);
    if (held && !capture_.held()) SDL_CaptureMouse(SDL_FALSE);
}

void SdlWindow::wake() {
    queued_.wake();
    interrupt_wait();
}

void SdlWindow::inject(WindowEvent event) {
    queued_.push(std::move(event));
    interrupt_wait();
}

void SdlWindow::interrupt_wait() {
    // One interrupt in SDL's queue at a time: wakes from a busy thread must
    // not fill it (SDL drops events beyond its limit). What the wait is
    // interrupted for is in queued_.
    if (interrupt_pending_.exchange(true)) return;
    SDL_Event sdl{};
    sdl.type = interrupt_type_;
    if (SDL_PushEvent(&sdl) != 1) interrupt_pending_ = false;
}

SdlWindow::Outcome SdlWindow::translate(const SDL_Event& sdl, WindowEvent& event) {
    using Kind = WindowEvent::Kind;
    if (sdl.type == interrupt_type_) {
        // Cleared before wait_event looks at the queue again, so that an
        // event queued from now on sends an interrupt of its own.
        interrupt_pending_ = false;
        return Outcome::Skip;
    }
    switch (sdl.type) {
        case SDL_WINDOWEVENT:
            if (sdl.window.windowID != SDL_GetWindowID(window_.get())) return Outcome::Skip;
            return translate_window_event(sdl.window, event);
        case SDL_QUIT:
            event = event_of(Kind::Close);
            return Outcome::Deliver;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            event = event_of(sdl.type == SDL_KEYDOWN ? Kind::KeyDown : Kind::KeyUp);
            event.virtual_key = virtual_key::from_sdl(sdl.key.keysym.sym);
            event.repeat = sdl.type == SDL_KEYDOWN && sdl.key.repeat != 0;
            return Outcome::Deliver;
        case SDL_TEXTINPUT:
            event = event_of(Kind::Char);
            event.text = utf16::from_utf8(sdl.text.text);
            return event.text.empty() ? Outcome::Skip : Outcome::Deliver;
        case SDL_TEXTEDITING:
            return composition(sdl.edit.text, sdl.edit.start, event);
        case SDL_TEXTEDITING_EXT: {
            Outcome outcome = composition(sdl.editExt.text, sdl.editExt.start, event);
            SDL_free(sdl.editExt.text);
            return outcome;
        }
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            // Touch reaches here too, as SDL's mouse events made from touches.
            if (sdl.button.button != SDL_BUTTON_LEFT) return Outcome::Skip;
            event = event_of(sdl.type == SDL_MOUSEBUTTONDOWN ? Kind::ButtonDown : Kind::ButtonUp);
            Point at = to_handset(sdl.button.x, sdl.button.y);
            event.x = at.x;
            event.y = at.y;
            return Outcome::Deliver;
        }
        case SDL_MOUSEMOTION: {
            event = event_of(Kind::PointerMove);
            Point at = to_handset(sdl.motion.x, sdl.motion.y);
            event.x = at.x;
            event.y = at.y;
            return Outcome::Deliver;
        }
        case SDL_RENDER_TARGETS_RESET:
        case SDL_RENDER_DEVICE_RESET:
            // The texture's contents (or the texture) are gone: upload again.
            texture_.reset();
            texture_size_ = {};
            show_last_frame();
            return Outcome::Skip;
        default:
            return Outcome::Skip;
    }
}

SdlWindow::Outcome SdlWindow::translate_window_event(const SDL_WindowEvent& sdl,
                                                     WindowEvent& event) {
    using Kind = WindowEvent::Kind;
    switch (sdl.event) {
        case SDL_WINDOWEVENT_EXPOSED:
            show_last_frame();
            return Outcome::Skip;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            show_last_frame();
            if (!Viewport::turns({sdl.data1, sdl.data2}, {screen_.width, screen_.height}))
                return Outcome::Skip;
            screen_ = Viewport::turned(screen_);
            event = event_of(Kind::Resized);
            return Outcome::Deliver;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            event = event_of(Kind::Activate);
            return Outcome::Deliver;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            event = event_of(Kind::Deactivate);
            return Outcome::Deliver;
        case SDL_WINDOWEVENT_CLOSE:
            event = event_of(Kind::Close);
            return Outcome::Deliver;
        case SDL_WINDOWEVENT_MINIMIZED:
            minimised_ = true;
            return Outcome::Skip;
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_MAXIMIZED:
            minimised_ = false;
            return Outcome::Skip;
        default:
            return Outcome::Skip;
    }
}

SdlWindow::Outcome SdlWindow::composition(const char* utf8, int32_t start, WindowEvent& event) {
    event = event_of(WindowEvent::Kind::Composition);
    event.text = utf8 ? utf16::from_utf8(utf8) : std::u16string();
    // start counts code points; the event counts UTF-16 units.
    size_t units = 0;
    for (int32_t n = 0; n < start && units < event.text.size(); ++n) {
        char16_t c = event.text[units];
        units += (c >= 0xD800 && c < 0xDC00 && units + 1 < event.text.size()) ? 2 : 1;
    }
    event.cursor = static_cast<int32_t>(std::min(units, event.text.size()));
    return Outcome::Deliver;
}

void SdlWindow::start_text_input(Rect area) {
    Rect at = viewport().to_window(area);
    SDL_Rect rect{at.left, at.top, at.right - at.left, at.bottom - at.top};
    SDL_SetTextInputRect(&rect);
    if (!SDL_IsTextInputActive()) SDL_StartTextInput();
}

void SdlWindow::stop_text_input() {
    if (SDL_IsTextInputActive()) SDL_StopTextInput();
}

bool SdlWindow::has_screen_keyboard() const { return SDL_HasScreenKeyboardSupport() == SDL_TRUE; }

bool SdlWindow::input_panel_shown() const {
    if (!SDL_IsTextInputActive()) return false;
    return !has_screen_keyboard() || SDL_IsScreenKeyboardShown(window_.get()) == SDL_TRUE;
}

std::u16string SdlWindow::clipboard_text() {
    if (!SDL_HasClipboardText()) return {};
    char* utf8 = SDL_GetClipboardText();
    if (!utf8) return {};
    std::u16string text;
    size_t length = std::strlen(utf8);
    if (length > kMaxClipboardBytes)
        log() << "SdlWindow: the clipboard holds " << static_cast<long>(length)
              << " bytes, more than an edit takes; not pasted\n";
    else
        text = utf16::from_utf8({utf8, length});
    SDL_free(utf8);
    return text;
}

void SdlWindow::set_clipboard_text(std::u16string_view text) {
    if (SDL_SetClipboardText(utf16::to_utf8(text).c_str()) != 0)
        log() << "SdlWindow: cannot set the clipboard: " << SDL_GetError() << "\n";
}

std::unique_ptr<Display> SdlWindow::open_display(Size size) {
    return std::make_unique<FrameDisplay>(size, screen_.orientation,
                                          [this](const PixelBuffer& pixels) { present(pixels); });
}

void SdlWindow::paint(const PixelBuffer& pixels) { present(pixels); }

void SdlWindow::present(const PixelBuffer& pixels) {
    last_frame_.keep(pixels);
    show_last_frame();
}

void SdlWindow::show_last_frame() {
    SDL_Renderer* renderer = renderer_.get();
    SDL_SetRenderDrawColor(renderer, kBarGrey, kBarGrey, kBarGrey, SDL_ALPHA_OPAQUE);
    SDL_RenderClear(renderer);
    const PixelBuffer* frame = last_frame_.get();
    if (frame != nullptr && ensure_texture({frame->width(), frame->height()}) &&
        SDL_UpdateTexture(texture_.get(), nullptr, frame->pixels(), frame->stride()) == 0) {
        Viewport layout = viewport();
        Rect to = layout.destination();
        SDL_SetTextureScaleMode(texture_.get(), layout.filter() == Viewport::Filter::Nearest
                                                    ? SDL_ScaleModeNearest
                                                    : SDL_ScaleModeLinear);
        SDL_Rect rect{to.left, to.top, to.right - to.left, to.bottom - to.top};
        if (!to.empty()) SDL_RenderCopy(renderer, texture_.get(), nullptr, &rect);
    }
    SDL_RenderPresent(renderer);
}

bool SdlWindow::ensure_texture(Size size) {
    if (texture_ && texture_size_ == size) return true;
    texture_.reset(SDL_CreateTexture(renderer_.get(), SDL_PIXELFORMAT_RGB565,
                                     SDL_TEXTUREACCESS_STREAMING, size.width, size.height));
    texture_size_ = texture_ ? size : Size{};
    if (!texture_ && size != failed_texture_size_) {
        // Once per size: the next frame of the same size fails the same way.
        log() << "SdlWindow: no " << size.width << "x" << size.height
              << " texture: " << SDL_GetError() << "\n";
        failed_texture_size_ = size;
    }
    return static_cast<bool>(texture_);
}

Viewport SdlWindow::viewport() const {
    const PixelBuffer* frame = last_frame_.get();
    Size picture = frame != nullptr ? Size{frame->width(), frame->height()}
                                    : Size{screen_.width, screen_.height};
    Size window;
    SDL_GetWindowSize(window_.get(), &window.width, &window.height);
    Size drawable;
    if (SDL_GetRendererOutputSize(renderer_.get(), &drawable.width, &drawable.height) != 0)
        drawable = window;
    return Viewport(picture, window, drawable);
}

Point SdlWindow::to_handset(int32_t x, int32_t y) const { return viewport().to_picture({x, y}); }

void SdlWindow::capture_pointer(bool on) {
    bool held = capture_.held();
    capture_.set(on, queued_);
    // Some desktops (Wayland, the dummy driver) cannot capture; SDL's own
    // capture while a button is down then does what it can.
    if (on != held) SDL_CaptureMouse(on ? SDL_TRUE : SDL_FALSE);
}

void SdlWindow::minimise() {
    SDL_MinimizeWindow(window_.get());
    minimised_ = true;
}

void SdlWindow::bring_to_front() {
    if (minimised()) SDL_RestoreWindow(window_.get());
    SDL_RaiseWindow(window_.get());
    minimised_ = false;
}

bool SdlWindow::minimised() const {
    return minimised_ || (SDL_GetWindowFlags(window_.get()) & SDL_WINDOW_MINIMIZED) != 0;
}
