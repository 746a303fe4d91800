#pragma once
// What forms ask of the program around them: to step aside (minimise, or
// hand the user to another program), to end, and the screen a skin is loaded
// for. The application installs itself for as long as its window exists;
// without one (forms tried out on their own) the calls do nothing and the
// screen is the default handset screen.
#include "input/ScreenInfo.h"

class AppControl {
public:
    virtual ~AppControl() = default;
    virtual void minimise() = 0;
    // The program hands the user to another program (a browser, a call, the
    // help): the next input clears the mark.
    virtual void mark_backgrounded() = 0;
    // Posts the quit message: the event loop ends and the program shuts down.
    virtual void post_quit() = 0;
    virtual ScreenInfo screen() const = 0;

    // The installed control, or null.
    static AppControl* current();
    // Installs control (null: none). The application sets itself once and
    // clears it before it goes.
    static void set_current(AppControl* control);
};

namespace app_control {

void minimise();
void mark_backgrounded();
void post_quit();
ScreenInfo screen();

}  // namespace app_control
