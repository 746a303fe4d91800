// The application's window procedure and loop, in-process on the headless
// window: what keys, characters and the stylus become for the top form, the
// release that comes only with the end of the capture, later starts' command
// lines, the screen turning, and frames that are drawn only when something
// changed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "app/AppListener.h"
#include "app/Application.h"
#include "display/HeadlessWindow.h"
#include "display/WindowEvent.h"
#include "forms/Form.h"
#include "platform/Ticks.h"
#include "platform/Utf16.h"
#include "platform/active/CActive.h"
#include "platform/active/CActiveScheduler.h"
#include "platform/active/TimerHandle.h"
#include "platform/active/TimerListener.h"
#include "skin/Properties.h"
#include "support/Contains.h"
#include "support/LogCapture.h"
#include "support/TestDevice.h"

namespace {

class RecordingForm : public Form {
public:
    explicit RecordingForm(Properties& properties) : Form(properties) { load(); }

    bool key(const KeyEvent& event) override {
        keys.push_back(event);
        return true;
    }
    bool pointer_button(const PointerEvent& event) override {
        buttons.push_back(event);
        return true;
    }
    bool character(std::u16string_view text) override {
        typed += text;
        return true;
    }
    void draw_content(RenderSurface& surface, Point position) override {
        ++draws;
        Form::draw_content(surface, position);
    }

    std::vector<KeyEvent> keys;
    std::vector<PointerEvent> buttons;
    std::u16string typed;
    int draws = 0;

protected:
    void load() override { bind_or_throw(u"test_dialog"); }
};

class RecordingListener : public AppListener {
public:
    void on_other_instance_started(const std::u16string& command_line) override {
        command_lines.push_back(command_line);
    }
    bool can_close() override { return allow_close; }
    void on_resolution_changed() override { ++resolution_changes; }
    bool on_key(const KeyEvent& event) override { return event.code == KeyCode::CallEnd; }

    std::vector<std::u16string> command_lines;
    bool allow_close = false;
    int resolution_changes = 0;
};

class ApplicationTest : public ::testing::Test {
protected:
    ApplicationTest() {
        setenv("FONTCONFIG_FILE", QUILLMO_TEST_FONTS_CONF, 1);
        setenv("QUILLMO_VIDEO", "headless", 1);
        setenv("QUILLMO_SCREEN", "240x320@96", 1);
        ScreenInfo screen;
        screen.width = 240;
        screen.height = 320;
        app_ = std::make_unique<Application>(u"QuillmoTest", screen, nullptr);
        app_->set_gdi_mode(false);
        app_->set_direct_mode(app_->read_screen_info().orientation);
        EXPECT_TRUE(
            properties_.load_skin(utf16::from_utf8(QUILLMO_TEST_SKIN), app_->read_screen_info()));
        form_ = std::make_unique<RecordingForm>(properties_);
        app_->set_listener(&listener_);
        app_->form_stack().push(*form_, false, false);
        app_->pump();
    }
    ~ApplicationTest() override {
        app_->form_stack().remove(*form_, false);
        app_->set_listener(nullptr);
        form_.reset();
        app_.reset();
    }

    void deliver(WindowEvent event) {
        app_->game().window().inject(std::move(event));
        app_->pump();
    }
    void key(WindowEvent::Kind kind, int32_t virtual_key, bool repeat = false) {
        WindowEvent event;
        event.kind = kind;
        event.virtual_key = virtual_key;
        event.repeat = repeat;
        deliver(event);
    }
    // Runs the loop for that long.
    void run_for(double seconds) {
        struct Quitter : TimerListener {
            Application* app = nullptr;
            void timer_fired(TimerHandle&) override { app->quit(0); }
        } quitter;
        quitter.app = app_.get();
        TimerHandle timer(quitter);
        timer.start(seconds);
        app_->run();
    }
    static void key_down_later(Window& window, int32_t virtual_key) {
        WindowEvent event;
        event.kind = WindowEvent::Kind::KeyDown;
        event.virtual_key = virtual_key;
        window.inject(event);
    }
    void pointer(WindowEvent::Kind kind, int32_t x, int32_t y) {
        WindowEvent event;
        event.kind = kind;
        event.x = x;
        event.y = y;
        deliver(event);
    }

    TestDevice device_;
    LogCapture log_;
    RecordingListener listener_;
    std::unique_ptr<Application> app_;
    Properties properties_;
    std::unique_ptr<RecordingForm> form_;
};

TEST_F(ApplicationTest, KeysReachTheTopFormAsTheHandsetsCodes) {
    key(WindowEvent::Kind::KeyDown, 112);
    key(WindowEvent::Kind::KeyDown, 112, true);
    key(WindowEvent::Kind::KeyUp, 112);
    key(WindowEvent::Kind::KeyDown, 116);  // F5: no key of ours, passed on all the same
    key(WindowEvent::Kind::KeyDown, 27);   // escape is the back key
    key(WindowEvent::Kind::KeyDown, 115);  // the listener takes CALL_END first
    ASSERT_EQ(form_->keys.size(), 5u);
    const auto& k = form_->keys;
    EXPECT_TRUE(k[0].code == KeyCode::SoftLeft && k[0].pressed && k[0].first);
    EXPECT_TRUE(k[1].code == KeyCode::SoftLeft && k[1].pressed && !k[1].first);
    EXPECT_TRUE(k[2].code == KeyCode::SoftLeft && !k[2].pressed && k[2].first);
    EXPECT_EQ(k[3].code, KeyCode::None);
    EXPECT_EQ(k[4].code, KeyCode::Backspace);
    std::string log = log_.text();
    EXPECT_TRUE(contains(log, "WM_KEYDOWN = 112 (SOFT_LEFT) lParam=1 ticks="));
    EXPECT_TRUE(contains(log, "WM_KEYDOWN = 112 (SOFT_LEFT) lParam=1073741825 ticks="));
    EXPECT_TRUE(contains(log, "WM_KEYUP = 112 (SOFT_LEFT) lParam=3221225473 ticks="));
    EXPECT_TRUE(contains(log, "WM_KEYDOWN = 116 (None)"));
    EXPECT_TRUE(contains(log, "WM_KEYDOWN = 27 (Backspace)"));
}

TEST_F(ApplicationTest, CharactersFromSpaceUpReachTheForm) {
    WindowEvent event;
    event.kind = WindowEvent::Kind::Char;
    event.text = u"a\tБ\r😀";
    deliver(event);
    EXPECT_EQ(form_->typed, u"aБ😀");
    std::string log = log_.text();
    EXPECT_TRUE(contains(log, "WM_CHAR=9\n"));
    EXPECT_TRUE(contains(log, "WM_CHAR=128512\n"));
}

TEST_F(ApplicationTest, TheReleaseComesWithTheEndOfTheCapture) {
    pointer(WindowEvent::Kind::ButtonDown, 30, 40);
    pointer(WindowEvent::Kind::ButtonUp, 31, 42);
    // The capture is lost without a release: the press ends cancelled, where
    // no position is known.
    pointer(WindowEvent::Kind::ButtonDown, 50, 60);
    WindowEvent lost;
    lost.kind = WindowEvent::Kind::CaptureChanged;
    deliver(lost);

    const auto& b = form_->buttons;
    ASSERT_EQ(b.size(), 4u);
    EXPECT_TRUE(b[0].pressed && b[0].x == 30 && b[0].y == 40 && !b[0].cancelled);
    EXPECT_TRUE(!b[1].pressed && b[1].x == 31 && b[1].y == 42 && !b[1].cancelled);
    EXPECT_TRUE(b[2].pressed && b[2].x == 50);
    EXPECT_TRUE(!b[3].pressed && b[3].cancelled);
    EXPECT_EQ(b[3].x, -1000000);
    EXPECT_EQ(b[3].y, -1000000);
}

TEST_F(ApplicationTest, TheLoopRunsUntilQuitAndAsksBeforeClosing) {
    WindowEvent close;
    close.kind = WindowEvent::Kind::Close;
    Window& window = app_->game().window();
    window.inject(close);  // refused by the listener
    key_down_later(window, 112);
    app_->quit(7);
    EXPECT_EQ(app_->run(), 7);
    ASSERT_EQ(form_->keys.size(), 1u) << "the refused close did not end the loop";

    listener_.allow_close = true;
    window.inject(close);
    key_down_later(window, 113);
    EXPECT_EQ(app_->run(), 0);
    EXPECT_EQ(form_->keys.size(), 1u) << "nothing after the close was handled";
}

TEST_F(ApplicationTest, AFrameIsDrawnOnlyWhenSomethingChanged) {
    ASSERT_NE(app_->game().last_frame(), nullptr);
    int drawn = form_->draws;
    ASSERT_GT(drawn, 0);
    app_->game().frame_tick(true);
    app_->game().frame_tick(true);
    EXPECT_EQ(form_->draws, drawn) << "nothing changed, nothing drawn";
    // A change deep in the form is drawn on the next frame, once.
    form_->child(0)->mark_redraw();
    app_->game().frame_tick(true);
    app_->game().frame_tick(true);
    EXPECT_EQ(form_->draws, drawn + 1);
}

// A request that another thread completes: its run ends the loop.
class ThreadRequest : public CActive {
public:
    explicit ThreadRequest(Application& app) : app_(app) {}
    ~ThreadRequest() override {
        if (thread_.joinable()) thread_.join();
    }
    void start() {
        CActiveScheduler::current().set_active(*this);
        thread_ = std::thread([this] {
            std::this_thread::sleep_for(std::chrono::milliseconds(30));
            CActiveScheduler::current().notify(*this);
        });
    }
    std::thread::id ran_on;

protected:
    void run() override {
        ran_on = std::this_thread::get_id();
        app_.quit(3);
    }
    void do_cancel() override {}

private:
    Application& app_;
    std::thread thread_;
};

TEST_F(ApplicationTest, TimersAndCompletionsFromOtherThreadsRunFromTheLoop) {
    struct Quitter : TimerListener {
        Application* app = nullptr;
        int64_t fired_at = 0;
        void timer_fired(TimerHandle&) override {
            fired_at = ticks::now_ms();
            app->quit(4);
        }
    } quitter;
    quitter.app = app_.get();
    TimerHandle timer(quitter);
    int64_t started = ticks::now_ms();
    timer.start(0.05);
    EXPECT_EQ(app_->run(), 4);
    EXPECT_GE(quitter.fired_at - started, 50);

    ThreadRequest request(*app_);
    request.start();
    EXPECT_EQ(app_->run(), 3);
    EXPECT_EQ(request.ran_on, std::this_thread::get_id());
}

TEST_F(ApplicationTest, ATurnedScreenReachesTheListenerAndTheForms) {
    auto& window = dynamic_cast<HeadlessWindow&>(app_->game().window());
    ScreenInfo turned = app_->read_screen_info();
    std::swap(turned.width, turned.height);
    turned.client_size = {turned.width, turned.height};
    window.set_screen(turned);  // delivers Resized
    app_->pump();
    EXPECT_EQ(listener_.resolution_changes, 1);
    EXPECT_EQ(app_->screen_info().width, 320);
    EXPECT_TRUE(log_.has("Application::ResolutionChanged 2\n"));
    // The program puts the display into direct mode for the new screen, and
    // the form is laid out for it on the next frame.
    app_->set_direct_mode(1);
    app_->pump();
    EXPECT_EQ(app_->client_rect(), (Rect{0, 0, 320, 240}));
    EXPECT_EQ(form_->size(), (Size{320, 240}));
    EXPECT_EQ(app_->game().last_frame()->width(), 320);
}

TEST_F(ApplicationTest, AWindowInTheBackgroundStillShowsChangesAMinimisedOneWaits) {
    WindowEvent deactivate;
    deactivate.kind = WindowEvent::Kind::Deactivate;
    deliver(deactivate);
    EXPECT_FALSE(app_->is_foreground());
    int drawn = form_->draws;
    form_->child(0)->mark_redraw();
    run_for(0.1);
    EXPECT_EQ(form_->draws, drawn + 1);

    app_->minimise();
    form_->child(0)->mark_redraw();
    run_for(0.1);
    EXPECT_EQ(form_->draws, drawn + 1) << "nothing is drawn while minimised";
    app_->bring_to_front();
    run_for(0.1);
    EXPECT_EQ(form_->draws, drawn + 2) << "the change shows once the window is back";
}

TEST_F(ApplicationTest, GdiModePaintsThroughTheWindowOnItsTimer) {
    app_->set_gdi_mode(false);
    EXPECT_FALSE(app_->game().has_display());
    int drawn = form_->draws;
    form_->child(0)->mark_redraw();
    run_for(0.15);
    EXPECT_EQ(form_->draws, drawn + 1) << "painted once, then idle";

    app_->set_direct_mode(app_->read_screen_info().orientation);
    EXPECT_TRUE(app_->game().has_display());
    form_->child(0)->mark_redraw();
    run_for(0.05);
    EXPECT_EQ(form_->draws, drawn + 2);
}

}  // namespace
