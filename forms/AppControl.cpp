#include "forms/AppControl.h"

namespace {

AppControl* current_control = nullptr;

}  // namespace

AppControl* AppControl::current() { return current_control; }

void AppControl::set_current(AppControl* control) { current_control = control; }

namespace app_control {

void minimise() {
    if (current_control) current_control->minimise();
}

void mark_backgrounded() {
    if (current_control) current_control->mark_backgrounded();
}

void post_quit() {
    if (current_control) current_control->post_quit();
}

ScreenInfo screen() {
    if (current_control) return current_control->screen();
    ScreenInfo screen;
    screen.width = 480;
    screen.height = 800;
    screen.client_size = {480, 800};
    screen.pixels_per_inch = 192;
    return screen;
}

}  // namespace app_control
