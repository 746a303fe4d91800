#pragma once
// A window without a desktop, for tests and scripted runs: its events are
// the ones injected, its frames are kept in memory, and its screen is the one
// it was made with until set_screen() turns or changes it.
#include "display/EventQueue.h"
#include "display/LastFrame.h"
#include "display/PointerCapture.h"
#include "display/Window.h"

class HeadlessWindow : public Window {
public:
    explicit HeadlessWindow(const ScreenInfo& screen);

    ScreenInfo screen() const override { return screen_; }
    // Changes the screen, as a turned handset would; when it differs from the
    // current one, a Resized event follows.
    void set_screen(const ScreenInfo& screen);

    bool wait_event(WindowEvent& event, int32_t timeout_ms) override;
    void wake() override;
    void inject(WindowEvent event) override;

    std::unique_ptr<Display> open_display(Size size) override;
    void paint(const PixelBuffer& pixels) override;
    const PixelBuffer* last_frame() const override { return last_frame_.get(); }

    void capture_pointer(bool on) override;

    void start_text_input(Rect area) override;
    void stop_text_input() override;
    bool has_screen_keyboard() const override { return true; }
    bool input_panel_shown() const override { return text_input_ && !panel_put_away_; }
    // As the user's closing of the on-screen keyboard, text input staying on.
    void put_input_panel_away() { panel_put_away_ = true; }
    bool text_input() const { return text_input_; }
    Rect text_input_area() const { return text_input_area_; }

    // The headless window keeps a clipboard of its own.
    std::u16string clipboard_text() override { return clipboard_; }
    void set_clipboard_text(std::u16string_view text) override { clipboard_ = text; }

    void minimise() override { minimised_ = true; }
    void bring_to_front() override { minimised_ = false; }
    bool minimised() const override { return minimised_; }

private:
    ScreenInfo screen_;
    EventQueue events_;
    PointerCapture capture_;
    LastFrame last_frame_;
    bool minimised_ = false;
    bool text_input_ = false;
    bool panel_put_away_ = false;
    Rect text_input_area_;
    std::u16string clipboard_;
};
