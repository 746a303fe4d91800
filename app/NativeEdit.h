#pragma once
// The native edit control of the window: the edit box that lies over the
// bound "edit" element, the text input (input methods and on-screen keyboard)
// that feeds it, and the input panel preference. GameBase binds it to
// elements (its bind native edit) and routes keys, text, compositions and
// presses on the box to it while an element is bound.
//
// The input panel is the window's text input: while it is up, typed and
// composed text arrives and an on-screen keyboard shows where the system has
// one. Whether it was up when the last binding ended is kept as the registry
// value "SIPPreference" (HKEY_CURRENT_USER\Software\Zelvor, a number), so the
// next binding raises it again. On a system without an on-screen keyboard
// text input is always on while bound: a desktop's keys must type.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "draw/Point.h"
#include "input/KeyEvent.h"
#include "widgets/edit/EditBox.h"
#include "widgets/edit/EditClipboard.h"

class EditElement;
class RenderSurface;
class Window;

class NativeEdit {
public:
    static constexpr const char16_t* kPreferenceKey = u"HKEY_CURRENT_USER\\Software\\Zelvor";
    static constexpr const char16_t* kPreferenceName = u"SIPPreference";

    // Reads the preference (0 when missing or unreadable). window must
    // outlive this object.
    explicit NativeEdit(Window& window);
    // Lowers the panel; stores nothing.
    ~NativeEdit();
    NativeEdit(const NativeEdit&) = delete;
    NativeEdit& operator=(const NativeEdit&) = delete;

    EditElement* bound() const { return bound_; }
    // The box, while one exists.
    EditBox* box() const { return box_.get(); }
    uint32_t preference() const { return preference_; }

    // Binds element. From no binding: raises the panel when the preference
    // says so (or no on-screen keyboard exists) and, with create, makes the
    // box. With a box: moves it to the element's rectangle and gives it the
    // element's text when the two differ; a newly bound element also gives
    // its lines, font and colours, and the caret goes after its text.
    void bind(EditElement& element, bool create);
    // Ends the binding: the box goes, the panel state is stored as the
    // preference and the panel is lowered.
    void unbind();
    // The user asks for the keyboard (a press on the box).
    void raise_panel();

    // Input while bound; each is the box's (see EditBox) and hands a changed
    // text to the element afterwards. key returns whether the box took it.
    bool key(const KeyEvent& event);
    void type(std::u16string_view text);
    void compose(std::u16string_view text, int32_t cursor);
    bool contains(Point point) const;
    void pointer_down(Point point);
    void pointer_move(Point point);
    void release_modifiers();

    bool needs_drawing() const { return box_ && box_->needs_drawing(); }
    void draw(RenderSurface& surface);

private:
    // The window's clipboard, as the box uses it.
    class Clipboard : public EditClipboard {
    public:
        explicit Clipboard(Window& window) : window_(window) {}
        std::u16string text() override;
        void set_text(std::u16string_view text) override;

    private:
        Window& window_;
    };

    // Gives a changed box text to the element and moves the input area.
    void after_input();

    Window& window_;
    Clipboard clipboard_;
    std::unique_ptr<EditBox> box_;
    EditElement* bound_ = nullptr;
    uint32_t preference_ = 0;
    bool panel_raised_ = false;
    bool changed_ = false;
};
