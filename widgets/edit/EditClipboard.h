#pragma once
// The system clipboard as the native edit box uses it: plain text only.
#include <string>
#include <string_view>

class EditClipboard {
public:
    virtual ~EditClipboard() = default;
    // The clipboard's text; empty when it holds none or cannot be read.
    virtual std::u16string text() = 0;
    // Puts text on the clipboard; a failure is logged by the implementation.
    virtual void set_text(std::u16string_view text) = 0;
};
