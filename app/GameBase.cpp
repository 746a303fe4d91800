#include "app/GameBase.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string_view>

#include "app/AppListener.h"
#include "app/Application.h"
#include "app/HandOver.h"
#include "app/KeyTable.h"
#include "app/NativeEdit.h"
#include "app/ScriptRun.h"
#include "app/SingleInstance.h"
#include "forms/FormStack.h"
#include "platform/Log.h"
#include "platform/Registry.h"
#include "platform/RegistryPath.h"
#include "platform/Ticks.h"

namespace {

const std::u16string_view kCommandLineEmpty = u"%CommandLineEmpty%";

void log_step(int step) { log() << ticks::now_ms() << u" GameBase " << step << u"\n"; }

// The key data the handset's window system gives a key message: a repeat
// count of 1, bit 30 for a key that was already down, bit 31 for a release.
uint32_t key_data(bool pressed, bool repeat) {
    if (!pressed) return 0xC0000001u;
    return repeat ? 0x40000001u : 1u;
}

}  // namespace

GameBase::GameBase(Application& app, const std::u16string& application_name,
                   const ScreenInfo& screen, SingleInstance* instance)
    : app_(app), scheduler_([this] { window_->wake(); }), instance_(instance) {
    // No other thread knows the scheduler before the window exists, so its
    // wake-up never finds the window missing.
    log_step(0);
    log_step(1);
    log_step(2);
    screen_ = screen;
    log_step(3);
    window_ = Window::create(application_name, screen);
    screen_ = window_->screen();
    native_edit_ = std::make_unique<NativeEdit>(*window_);
    NativeEditHost::set_current(this);
    log_step(4);
    if (instance_) {
        instance_->listen([this](HandOver hand_over) {
            auto shared = std::make_shared<HandOver>(std::move(hand_over));
            post({Posted::Kind::HandOver, shared->command_line(),
                  [shared] { shared->acknowledge(); }});
        });
        instance_->release_mutex();
    }
    log_step(5);
    gdi_timer_due_ = ticks::now_ms() + kGdiTimerMs;
    last_tick_ = ticks::now_ms();
}

GameBase::~GameBase() {
    if (NativeEditHost::current() == this) NativeEditHost::set_current(nullptr);
    gdi_timer_due_.reset();
    native_edit_.reset();
    command_lines_.clear();
    display_.reset();
    if (instance_) instance_->release_mutex();
}

bool GameBase::is_smartphone() {
    static const bool smartphone = [] {
        const char* profile = std::getenv("QUILLMO_PROFILE");
        std::u16string type =
            profile && std::string_view(profile) == "smartphone" ? u"SmartPhone" : u"PocketPC";
        log() << u"static_capability_is_smartphone=" << type << u"\n";
        std::u16string lower = type;
        for (char16_t& c : lower)
            if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
        return lower == u"smartphone";
    }();
    return smartphone;
}

// ---- The loop ----

bool GameBase::polling() const {
    // A desktop window stays on screen when another window has the focus or
    // the user went to another program, so changes are still shown then;
    // since the loop sleeps whenever nothing changes, that costs nothing.
    // Only a minimised window is not drawn.
    return display_ && !window_->minimised();
}

int32_t GameBase::wait_timeout() const {
    int64_t now = ticks::now_ms();
    std::optional<int64_t> due = scheduler_.timer_due();
    auto earliest = [&](int64_t when) { due = due ? std::min(*due, when) : when; };
    if (animating_ && polling()) earliest(last_tick_ + kFrameMs);
    if (animating_ && window_painting() && gdi_timer_due_) earliest(*gdi_timer_due_);
    if (script_)
        if (auto next = script_->next_step_due()) earliest(*next);
    if (scheduler_.posted() || has_posted()) return 0;
    if (!due) return -1;
    return static_cast<int32_t>(std::clamp<int64_t>(*due - now, 0, 60 * 60 * 1000));
}

int GameBase::run() {
    while (!quit_) {
        WindowEvent event;
        if (window_->wait_event(event, wait_timeout())) {
            window_procedure(event);
            while (!quit_ && window_->wait_event(event, 0)) window_procedure(event);
        }
        if (quit_) break;
        serve_timers_and_script();
        if (quit_) break;
        if (polling() && animating_ && ticks::now_ms() >= last_tick_ + kFrameMs) frame_tick(false);
    }
    quit_ = false;
    return exit_status_;
}

void GameBase::pump() {
    WindowEvent event;
    while (!quit_ && window_->wait_event(event, 0)) window_procedure(event);
    handle_posted();
    if (scheduler_.posted()) scheduler_.process_actives();
    frame_tick(true);
}

void GameBase::serve_timers_and_script() {
    handle_posted();
    if (scheduler_.posted()) {
        scheduler_.process_actives();
        animating_ = true;
    }
    int64_t now = ticks::now_ms();
    if (auto due = scheduler_.timer_due(); due && *due <= now) {
        scheduler_.on_timer();
        animating_ = true;
    }
    if (window_painting() && gdi_timer_due_ && *gdi_timer_due_ <= now) {
        gdi_timer_due_ = now + kGdiTimerMs;
        if (animating_) on_gdi_timer();
    }
    if (script_ && !quit_) {
        if (auto next = script_->next_step_due(); next && *next <= now) {
            script_->step(app_);
            animating_ = true;
        }
    }
}

bool GameBase::has_posted() const {
    std::lock_guard lock(posted_mutex_);
    return !posted_.empty();
}

void GameBase::post_quit(int status) { post({Posted::Kind::Quit, {}, {}, status}); }

void GameBase::post(Posted message) {
    {
        std::lock_guard lock(posted_mutex_);
        posted_.push_back(std::move(message));
    }
    window_->wake();
}

void GameBase::handle_posted() {
    for (;;) {
        Posted message;
        {
            std::lock_guard lock(posted_mutex_);
            if (posted_.empty()) return;
            message = std::move(posted_.front());
            posted_.pop_front();
        }
        switch (message.kind) {
            case Posted::Kind::HandOver:
                on_copy_data(std::move(message.text));
                if (message.acknowledge) message.acknowledge();
                break;
            case Posted::Kind::CommandLine:
                on_command_line_posted();
                break;
            case Posted::Kind::Quit:
                quit_ = true;
                exit_status_ = message.status;
                return;
        }
        animating_ = true;
    }
}

double GameBase::clamped_step() {
    int64_t now = ticks::now_ms();
    double step = std::clamp(static_cast<double>(now - last_tick_) * 0.001, 0.001, 0.1);
    last_tick_ = now;
    return step;
}

void GameBase::frame_tick(bool from_pump) {
    int64_t now = ticks::now_ms();
    if (now == last_tick_ && !from_pump) return;
    FormStack& forms = app_.form_stack();
    forms.time_step(clamped_step());
    bool drew = false;
    if (forms.needs_drawing(true) || native_edit_->needs_drawing()) {
        if (display_) {
            if (PixelBuffer* buffer = display_->lock()) {
                RenderSurface surface(*buffer);
                forms.draw(surface);
                display_->unlock();
                drew = true;
            }
        } else if (window_painting()) {
            paint();
            drew = true;
        }
    }
    animating_ = drew;
    if (drew && forms.top() != shown_form_) {
        shown_form_ = forms.top();
        Stopwatch reading = since_input_;
        if (log().is_file())
            log() << u"new screen time:" << std::round(reading.lap() * 1e4) / 10 << u"\n";
    }
}

void GameBase::on_gdi_timer() {
    if (window_->minimised()) return;
    app_.form_stack().time_step(clamped_step());
    if (app_.form_stack().needs_drawing(true) || native_edit_->needs_drawing())
        paint();
    else
        animating_ = false;
}

void GameBase::paint() {
    Size client = app_.client_rect().size();
    if (back_bitmap_.size() != client && !back_bitmap_.recreate(client)) return;
    app_.form_stack().draw(back_bitmap_);
    native_edit_->draw(back_bitmap_);
    window_->paint(*back_bitmap_.buffer());
}

// ---- Modes ----

void GameBase::set_key_input(bool on) { key_input_ = on; }

void GameBase::set_gdi_mode(bool variant) {
    if (gdi_mode_ && gdi_variant_ == variant) return;
    gdi_mode_ = true;
    gdi_variant_ = variant;
    // A bound edit has the window painting already.
    if (native_edit_->bound()) return;
    app_.form_stack().set_redraw();
    display_.reset();
    gdi_timer_due_ = ticks::now_ms() + kGdiTimerMs;
    animating_ = true;
    layout();
}

void GameBase::set_direct_mode(int32_t orientation) {
    if (!gdi_mode_ && display_ && orientation_ == orientation) return;
    orientation_ = orientation;
    gdi_mode_ = false;
    display_.reset();
    // The display opens when the bound edit lets go.
    if (native_edit_->bound()) return;
    app_.form_stack().set_redraw();
    update_screen_info();
    display_size_ = {screen_.width, screen_.height};
    display_ = window_->open_display(display_size_);
    if (app_.form_stack().count() == 0) app_.capture_backdrop();
    gdi_timer_due_.reset();
    animating_ = true;
    layout();
}

bool GameBase::update_screen_info() {
    ScreenInfo fresh = window_->screen();
    if (fresh == screen_) return false;
    screen_ = fresh;
    return true;
}

void GameBase::layout() {
    // The window always covers the handset screen; the forms take the client
    // rectangle on their next frame.
    app_.form_stack().set_redraw();
    animating_ = true;
}

bool GameBase::window_painting() const { return gdi_mode_ || native_edit_->bound(); }

EditElement* GameBase::bound_edit() const { return native_edit_->bound(); }

void GameBase::bind_native_edit(EditElement* element, bool create) {
    EditElement* before = native_edit_->bound();
    if (!element) {
        if (!before) return;
        native_edit_->unbind();
        edit_pressed_ = false;
        if (!gdi_mode_) {
            if (display_size_.empty()) display_size_ = {screen_.width, screen_.height};
            display_ = window_->open_display(display_size_);
            gdi_timer_due_.reset();
        }
        layout();
        return;
    }
    if (!before) {
        display_.reset();
        gdi_timer_due_ = ticks::now_ms() + kGdiTimerMs;
        layout();
    }
    native_edit_->bind(*element, create);
    app_.form_stack().set_redraw();
    animating_ = true;
}

void GameBase::minimise() { window_->minimise(); }

void GameBase::bring_to_front() { window_->bring_to_front(); }

// ---- The window procedure ----

void GameBase::window_procedure(const WindowEvent& event) {
    using Kind = WindowEvent::Kind;
    animating_ = true;
    AppListener* listener = app_.listener();
    switch (event.kind) {
        case Kind::Wake:
            break;
        case Kind::KeyDown:
            since_input_.lap();
            on_key(event, true);
            break;
        case Kind::KeyUp:
            on_key(event, false);
            break;
        case Kind::Char:
            on_character(event.text);
            break;
        case Kind::Composition:
            native_edit_->compose(event.text, event.cursor);
            break;
        case Kind::ButtonDown:
        case Kind::PointerMove:
        case Kind::ButtonUp:
            if (event.kind == Kind::ButtonUp) since_input_.lap();
            if (!is_smartphone()) on_pointer(event);
            break;
        case Kind::CaptureChanged:
            if (!is_smartphone()) on_capture_changed();
            break;
        case Kind::Activate:
            layout();
            deactivated_ = false;
            backgrounded_ = false;
            if (listener) listener->on_activate();
            break;
        case Kind::Deactivate:
            deactivated_ = true;
            native_edit_->release_modifiers();
            if (listener) listener->on_deactivate();
            break;
        case Kind::Close:
            if (!listener || listener->can_close()) {
                quit_ = true;
                exit_status_ = 0;
            }
            break;
        case Kind::Resized:
            app_.resolution_changed();
            break;
    }
}

void GameBase::on_key(const WindowEvent& event, bool pressed) {
    backgrounded_ = false;
    KeyEvent key;
    key.code = event.forced_code >= 0 ? static_cast<KeyCode>(event.forced_code)
                                      : KeyTable::from_virtual_key(event.virtual_key);
    key.pressed = pressed;
    key.first = !(pressed && event.repeat);
    log() << (pressed ? u"WM_KEYDOWN = " : u"WM_KEYUP = ") << event.virtual_key << u" ("
          << key_codes::name(key.code) << u") lParam=" << key_data(pressed, event.repeat)
          << u" ticks=" << ticks::now_ms() << u"\n";
    if (native_edit_->key(key)) return;
    AppListener* listener = app_.listener();
    if (listener && listener->on_key(key)) return;
    app_.form_stack().key(key);
}

void GameBase::on_character(std::u16string_view text) {
    // One character at a time, as the window system sends them; a surrogate
    // pair is one character.
    for (size_t i = 0; i < text.size();) {
        size_t n = (text[i] >= 0xD800 && text[i] < 0xDC00 && i + 1 < text.size()) ? 2 : 1;
        std::u16string_view one = text.substr(i, n);
        char32_t c =
            n == 2 ? 0x10000 + ((char32_t(one[0]) - 0xD800) << 10) + (one[1] - 0xDC00) : one[0];
        log() << u"WM_CHAR=" << static_cast<unsigned>(c) << u"\n";
        // The bound edit box takes every character and cleans them itself.
        if (native_edit_->bound())
            native_edit_->type(one);
        else if (c >= 32)
            app_.form_stack().character(one);
        i += n;
    }
}

void GameBase::on_pointer(const WindowEvent& event) {
    backgrounded_ = false;
    PointerEvent pointer;
    pointer.x = static_cast<int16_t>(event.x);
    pointer.y = static_cast<int16_t>(event.y);
    switch (event.kind) {
        case WindowEvent::Kind::ButtonDown:
            pointer_up_ = {kNoPosition, kNoPosition};
            pointer_held_ = true;
            window_->capture_pointer(true);
            if (native_edit_->contains({pointer.x, pointer.y})) {
                edit_pressed_ = true;
                native_edit_->pointer_down({pointer.x, pointer.y});
                break;
            }
            pointer.pressed = true;
            app_.form_stack().pointer_button(pointer);
            // A tap that focused an edit asks for the keyboard too.
            if (native_edit_->contains({pointer.x, pointer.y})) native_edit_->raise_panel();
            break;
        case WindowEvent::Kind::PointerMove:
            if (edit_pressed_) {
                native_edit_->pointer_move({pointer.x, pointer.y});
                break;
            }
            pointer.pressed = pointer_held_;
            app_.form_stack().pointer_move(pointer);
            break;
        default:
            // The release reaches the forms when the capture ends.
            pointer_up_ = {pointer.x, pointer.y};
            window_->capture_pointer(false);
            break;
    }
}

void GameBase::on_capture_changed() {
    backgrounded_ = false;
    pointer_held_ = false;
    if (edit_pressed_) {
        // The forms never saw the press.
        edit_pressed_ = false;
        return;
    }
    PointerEvent pointer;
    pointer.x = pointer_up_.x;
    pointer.y = pointer_up_.y;
    pointer.pressed = false;
    pointer.cancelled = pointer_up_.x == kNoPosition && pointer_up_.y == kNoPosition;
    app_.form_stack().pointer_button(pointer);
}

void GameBase::on_copy_data(std::u16string text) {
    if (text == kCommandLineEmpty) text.clear();
    command_lines_.push_back(std::move(text));
    post({Posted::Kind::CommandLine, {}, {}});
}

void GameBase::on_command_line_posted() {
    if (command_lines_.empty()) return;
    std::u16string command_line = std::move(command_lines_.front());
    command_lines_.pop_front();
    if (AppListener* listener = app_.listener()) listener->on_other_instance_started(command_line);
}
