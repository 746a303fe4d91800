#pragma once
// A key press or release as the window delivers it to the forms.
#include "input/KeyCode.h"

struct KeyEvent {
    KeyCode code = KeyCode::None;
    bool pressed = false;
    // Clear on the repeats of a held key; set on the first press and on the
    // release.
    bool first = true;
};
