#include "display/HeadlessWindow.h"

#include <utility>

#include "display/FrameDisplay.h"

HeadlessWindow::HeadlessWindow(const ScreenInfo& screen) : screen_(screen) {}

void HeadlessWindow::set_screen(const ScreenInfo& screen) {
    if (screen == screen_) return;
    screen_ = screen;
    WindowEvent resized;
    resized.kind = WindowEvent::Kind::Resized;
    events_.push(std::move(resized));
}

bool HeadlessWindow::wait_event(WindowEvent& event, int32_t timeout_ms) {
    if (!events_.wait_pop(event, timeout_ms)) return false;
    capture_.before_delivery(event, events_);
    return true;
}

void HeadlessWindow::wake() { events_.wake(); }

void HeadlessWindow::inject(WindowEvent event) { events_.push(std::move(event)); }

std::unique_ptr<Display> HeadlessWindow::open_display(Size size) {
    return std::make_unique<FrameDisplay>(size, screen_.orientation,
                                          [this](const PixelBuffer& pixels) { paint(pixels); });
}

void HeadlessWindow::paint(const PixelBuffer& pixels) { last_frame_.keep(pixels); }

void HeadlessWindow::start_text_input(Rect area) {
    if (!text_input_) panel_put_away_ = false;
    text_input_ = true;
    text_input_area_ = area;
}

void HeadlessWindow::stop_text_input() {
    text_input_ = false;
    panel_put_away_ = false;
}

void HeadlessWindow::capture_pointer(bool on) { capture_.set(on, events_); }
