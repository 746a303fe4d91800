#pragma once
// Shorthands for window events in the display tests, and their handset.
#include <gtest/gtest.h>

#include <vector>

#include "display/ScreenSpec.h"
#include "display/Window.h"

using Kind = WindowEvent::Kind;

// A 240 x 320 screen at 96 dots per inch.
inline ScreenInfo handset() {
    std::string error;
    return ScreenSpec::parse("240x320@96", error)->screen();
}

inline WindowEvent event_of(Kind kind) {
    WindowEvent event;
    event.kind = kind;
    return event;
}

// The kinds of the events the window delivers without waiting.
inline std::vector<Kind> drain(Window& window) {
    std::vector<Kind> kinds;
    WindowEvent event;
    while (window.wait_event(event, 0)) kinds.push_back(event.kind);
    return kinds;
}

// The next event, which must come without waiting.
inline WindowEvent next_event(Window& window) {
    WindowEvent event;
    event.kind = Kind::Wake;
    if (!window.wait_event(event, 0)) ADD_FAILURE() << "no event";
    return event;
}
