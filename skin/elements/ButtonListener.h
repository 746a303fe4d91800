#pragma once
// What a button tells the form (or multinode) that set itself as its
// listener.
#include <cstdint>

class ButtonElement;

class ButtonListener {
public:
    struct Click {
        int32_t x = 0;
        int32_t y = 0;
        bool flag = false;
    };
    struct StateChange {
        int32_t x = 0;
        int32_t y = 0;
        bool cancelled = false;
    };
    // A move of the pressed stylus by (dx, dy). The listener may leave a
    // remainder it did not use; the button carries it into the next move.
    struct Drag {
        int32_t x = 0;
        int32_t y = 0;
        int32_t dx = 0;
        int32_t dy = 0;
        int32_t remainder_x = 0;
        int32_t remainder_y = 0;
    };

    virtual ~ButtonListener() = default;
    // A completed press: released inside the button, not cancelled.
    virtual void clicked(ButtonElement& button, const Click& info) = 0;
    // The button became active (pressed, key held, or held by a form) or
    // inactive.
    virtual void state_changed(ButtonElement& button, const StateChange& info) = 0;
    virtual void dragged(ButtonElement& button, Drag& info) = 0;
};
