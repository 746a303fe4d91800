#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

#include "display/HeadlessWindow.h"
#include "display/SdlWindow.h"
#include "display/TestEvents.h"
#include "support/Contains.h"

namespace {

// SDL's dummy video driver: a 1024 x 768 desktop without a screen, drawn by
// SDL's software renderer, so the SDL window runs where no display is.
class SdlWindowTest : public ::testing::Test {
protected:
    SdlWindowTest() {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        unsetenv("QUILLMO_VIDEO");
        window_ = Window::create(u"Quillmo", handset());
        sdl_ = dynamic_cast<SdlWindow*>(window_.get());
        drain(*window_);
    }

    void push(SDL_Event sdl) { ASSERT_EQ(SDL_PushEvent(&sdl), 1) << SDL_GetError(); }
    void resize(int w, int h) { SDL_SetWindowSize(sdl_->sdl_window(), w, h); }

    // The colour the window shows at a drawable pixel, as 8-bit RGB.
    uint32_t shown_at(int32_t x, int32_t y) {
        SDL_Rect one{x, y, 1, 1};
        uint32_t pixel = 0;
        SDL_RenderReadPixels(SDL_GetRenderer(sdl_->sdl_window()), &one, SDL_PIXELFORMAT_RGB888,
                             &pixel, 4);
        return pixel & 0xFFFFFF;
    }

    std::unique_ptr<Window> window_;
    SdlWindow* sdl_ = nullptr;
};

TEST_F(SdlWindowTest, FramesOfBothPathsAreKeptAndShownLetterboxed) {
    ASSERT_NE(sdl_, nullptr);
    EXPECT_EQ(window_->screen(), handset());
    EXPECT_EQ(window_->last_frame(), nullptr);
    // 240 x 320 twice fits the desktop's 768 lines, three times does not.
    int w = 0, h = 0;
    SDL_GetWindowSize(sdl_->sdl_window(), &w, &h);
    EXPECT_EQ((Size{w, h}), (Size{480, 640}));

    std::unique_ptr<Display> display = window_->open_display({240, 320});
    PixelBuffer* buffer = display->lock();
    ASSERT_NE(buffer, nullptr);
    for (int32_t y = 0; y < 320; ++y)
        for (int32_t x = 0; x < 240; ++x) buffer->set_pixel(x, y, x < 120 ? 0xF800 : 0x001F);
    display->unlock();
    ASSERT_NE(window_->last_frame(), nullptr);
    EXPECT_EQ(window_->last_frame()->pixel(239, 319), 0x001F);
    EXPECT_EQ(shown_at(10, 10), 0xFF0000u);
    EXPECT_EQ(shown_at(470, 630), 0x0000FFu);

    // Wider but still portrait: the window draws the same 2x picture between
    // bars by itself, and tells the application nothing.
    resize(560, 640);
    EXPECT_EQ(drain(*window_), std::vector<Kind>{});
    EXPECT_EQ(shown_at(39, 10), 0x202020u);
    EXPECT_EQ(shown_at(40, 10), 0xFF0000u);
    EXPECT_EQ(shown_at(519, 630), 0x0000FFu);
    EXPECT_EQ(shown_at(520, 630), 0x202020u);

    auto painted = PixelBuffer::create(240, 320);
    painted->set_pixel(0, 0, 0x07E0);
    window_->paint(*painted);
    EXPECT_EQ(window_->last_frame()->pixel(0, 0), 0x07E0);
    EXPECT_EQ(shown_at(41, 1), 0x00FF00u);
}

TEST_F(SdlWindowTest, EventsAndWakesFromAnotherThreadEndABlockedWait) {
    std::thread other([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        WindowEvent key = event_of(Kind::KeyDown);
        key.forced_code = 60;
        window_->inject(key);
    });
    WindowEvent event;
    ASSERT_TRUE(window_->wait_event(event, -1));
    other.join();
    EXPECT_EQ(event.forced_code, 60);
    EXPECT_EQ(drain(*window_), std::vector<Kind>{});

    // Wakes coalesce: SDL's queue never fills, later events still get through.
    expect_wakes_coalesce(*window_, 100000);
    window_->inject(event_of(Kind::Close));
    EXPECT_EQ(drain(*window_), std::vector<Kind>{Kind::Close});
    EXPECT_FALSE(window_->wait_event(event, 30));
}

TEST_F(SdlWindowTest, DesktopInputArrivesInHandsetTerms) {
    SDL_Event sdl{};
    sdl.type = SDL_KEYDOWN;
    sdl.key.keysym.sym = SDLK_F5;
    sdl.key.repeat = 1;
    push(sdl);
    sdl = {};
    sdl.type = SDL_TEXTINPUT;
    SDL_strlcpy(sdl.text.text,
                "\xD0\xB6"
                "a",
                sizeof sdl.text.text);
    push(sdl);
    sdl = {};
    sdl.type = SDL_MOUSEBUTTONDOWN;
    sdl.button.button = SDL_BUTTON_RIGHT;
    push(sdl);
    sdl.button.button = SDL_BUTTON_LEFT;
    sdl.button.x = 100;
    sdl.button.y = 200;
    push(sdl);
    sdl = {};
    sdl.type = SDL_MOUSEMOTION;
    sdl.motion.x = -10;
    sdl.motion.y = 5000;
    push(sdl);

    WindowEvent key = next_event(*window_);
    EXPECT_EQ(key.kind, Kind::KeyDown);
    EXPECT_EQ(key.virtual_key, 116);
    EXPECT_TRUE(key.repeat);
    EXPECT_EQ(next_event(*window_).text, u"жa");
    // The right button is no handset input; the 2x picture fills the window.
    WindowEvent press = next_event(*window_);
    EXPECT_EQ(press.kind, Kind::ButtonDown);
    EXPECT_EQ((Point{press.x, press.y}), (Point{50, 100}));
    WindowEvent move = next_event(*window_);
    EXPECT_EQ(move.kind, Kind::PointerMove);
    EXPECT_EQ((Point{move.x, move.y}), (Point{0, 319}));

    // The focus going ends a held capture, which is noticed once.
    window_->capture_pointer(true);
    sdl = {};
    sdl.type = SDL_WINDOWEVENT;
    sdl.window.windowID = SDL_GetWindowID(sdl_->sdl_window());
    sdl.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    push(sdl);
    sdl.window.event = SDL_WINDOWEVENT_CLOSE;
    push(sdl);
    EXPECT_EQ(drain(*window_),
              (std::vector<Kind>{Kind::CaptureChanged, Kind::Deactivate, Kind::Close}));
    window_->capture_pointer(false);
    EXPECT_EQ(drain(*window_), std::vector<Kind>{});
}

TEST_F(SdlWindowTest, TurningTheWindowTurnsTheHandsetScreen) {
    resize(640, 480);
    EXPECT_EQ(drain(*window_), std::vector<Kind>{Kind::Resized});
    ScreenInfo turned = window_->screen();
    EXPECT_EQ((Size{turned.width, turned.height}), (Size{320, 240}));
    EXPECT_NE(turned.orientation, handset().orientation);
    EXPECT_EQ(window_->open_display({320, 240})->orientation(), turned.orientation);

    resize(700, 400);
    EXPECT_EQ(drain(*window_), std::vector<Kind>{});
    resize(400, 700);
    EXPECT_EQ(drain(*window_), std::vector<Kind>{Kind::Resized});
    EXPECT_EQ(window_->screen(), handset());
}

TEST(WindowCreateTest, VideoVariablePicksTheWindowOrSaysWhatIsWrong) {
    setenv("QUILLMO_VIDEO", "headless", 1);
    std::unique_ptr<Window> window = Window::create(u"Quillmo", handset());
    EXPECT_NE(dynamic_cast<HeadlessWindow*>(window.get()), nullptr);

    setenv("QUILLMO_VIDEO", "framebuffer\x1b[2J", 1);
    try {
        Window::create(u"Quillmo", handset());
        ADD_FAILURE() << "an unknown video output made a window";
    } catch (const WindowError& error) {
        EXPECT_TRUE(contains(error.what(), "QUILLMO_VIDEO=\"framebuffer"));
        EXPECT_TRUE(contains(error.what(), "expected sdl or headless"));
        EXPECT_FALSE(contains(error.what(), "\x1b"));
    }

    unsetenv("QUILLMO_VIDEO");
    setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
    try {
        Window::create(u"Quillmo", handset());
        ADD_FAILURE() << "a window opened without a video driver";
    } catch (const WindowError& error) {
        EXPECT_TRUE(contains(error.what(), "cannot open a window: "));
        EXPECT_TRUE(contains(error.what(), "(set QUILLMO_VIDEO=headless to run"));
    }
}

}  // namespace
