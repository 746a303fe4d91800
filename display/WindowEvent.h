#pragma once
// What the window delivers to the event loop, in the handset's terms: key
// numbers are Windows virtual keys and positions are handset screen pixels,
// whichever window (SDL or headless) made the event.
#include <cstdint>
#include <string>

struct WindowEvent {
    enum class Kind {
        Wake,            // wake() or an empty hand-over; carries nothing
        KeyDown,         // virtual_key, repeat, forced_code
        KeyUp,           // virtual_key, forced_code
        Char,            // text
        Composition,     // text, cursor: an input method's text in progress ("" ends it)
        ButtonDown,      // x, y
        PointerMove,     // x, y
        ButtonUp,        // x, y
        CaptureChanged,  // the pointer capture ended (see Window::capture_pointer)
        Activate,        // the window became the active window
        Deactivate,      // the window lost the focus
        Close,           // the user or the system asks the window to close
        Resized,         // the handset screen turned: read Window::screen() again
    };

    Kind kind = Kind::Wake;
    int32_t virtual_key = 0;   // KeyDown/KeyUp: the Windows virtual-key number
    bool repeat = false;       // KeyDown: an auto-repeat of a held key
    int32_t forced_code = -1;  // KeyDown/KeyUp made by a script for a program key code
                               // that no virtual key produces (Esc, SLIDE); else -1
    std::u16string text;       // Char: the typed text; Composition: the text composed so far
    int32_t cursor = 0;        // Composition: the input method's cursor, in UTF-16 units of text
    int32_t x = 0, y = 0;      // pointer events: handset screen pixels
};
