#pragma once
// The pointer capture as the handset's window system keeps it: when a held
// capture ends, for whatever reason, one CaptureChanged notice follows. The
// application sends the pointer release to the forms on that notice, and a
// capture lost to a focus change (no release before it) as a cancelled one.
#include "display/EventQueue.h"
#include "display/WindowEvent.h"

class PointerCapture {
public:
    bool held() const { return held_; }

    // Starts (on) or ends a capture. Ending a held one puts a CaptureChanged
    // at the front of events; ending none does nothing.
    void set(bool on, EventQueue& events);

    // Looks at event just before it is delivered. A Deactivate while a capture
    // is held ends the capture: event becomes the CaptureChanged and the
    // Deactivate goes to the front of events, to be delivered next.
    void before_delivery(WindowEvent& event, EventQueue& events);

private:
    bool held_ = false;
};
