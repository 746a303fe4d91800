#pragma once
// Shorthands for window events in the display tests, and their handset.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>
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

// Wakes from another thread end a blocked wait, and however many there were,
// at most one more is left queued.
inline void expect_wakes_coalesce(Window& window, int wakes) {
    std::thread waker([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        for (int i = 0; i < wakes; ++i) window.wake();
    });
    WindowEvent event;
    EXPECT_TRUE(window.wait_event(event, -1));
    EXPECT_EQ(event.kind, Kind::Wake);
    waker.join();
    EXPECT_LE(drain(window).size(), 1u);
}
