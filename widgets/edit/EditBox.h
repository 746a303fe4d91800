#pragma once
// The native edit box: the program's own text box that lies over the focused
// "edit" element and takes the keys, the typed and composed text and the
// stylus while the element is bound. It shows the text in the element's font
// and colours on the element's background, with a caret, a selection and
// the input method's composition drawn in place (underlined) at the caret.
//
// A multi-line box wraps its text at the box's width and scrolls vertically;
// a single-line box keeps one line and scrolls horizontally. Either scrolls
// so that the caret stays in sight after every change and every caret move.
//
// Keys: Left, Right, Home, End, Backspace, Del (with Shift to select, Shift+Del
// to cut); in a multi-line box also Up, Down and Enter (a line feed). With
// Ctrl: A selects all, C copies, X cuts, V pastes; Ctrl+Insert copies and
// Shift+Insert pastes. The keys that type characters are taken as well, since
// their characters come as text. Backspace with nothing to erase is left to
// the forms (the handset's back key), as are all other keys.
//
// Section index of EditBox.cpp: setup; input; layout; drawing.
#include <bitset>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "draw/Color.h"
#include "draw/Point.h"
#include "draw/Rect.h"
#include "draw/text/TextLayout.h"
#include "input/KeyEvent.h"
#include "widgets/edit/EditBuffer.h"

class EditClipboard;
class FontRep;
class RenderSurface;

class EditBox {
public:
    enum class Lines { Single, Multi };

    // clipboard must outlive the box. changed is called after every change
    // of the text made by input (never for set_text).
    EditBox(Lines lines, EditClipboard& clipboard, std::function<void()> changed);

    // ---- Setup ----
    void set_lines(Lines lines);
    Lines lines() const { return lines_; }
    void set_style(std::shared_ptr<const FontRep> font, Color text, Color background);
    // The box's rectangle in screen pixels.
    void set_rect(Rect rect);
    Rect rect() const { return rect_; }
    // The program's text: replaces the text (carriage returns removed), the
    // caret after its end, without a change notice.
    void set_text(std::u16string_view text);
    const std::u16string& text() const { return buffer_.text(); }
    const EditBuffer& buffer() const { return buffer_; }

    // ---- Input ----
    // A key; true when the box took it (see above).
    bool key(const KeyEvent& event);
    // Typed or committed text, cleaned (EditBuffer::clean); it replaces the
    // selection and ends a composition.
    void type(std::u16string_view text);
    // The input method's text in progress, shown at the caret with its own
    // cursor at cursor (UTF-16 units into text); empty ends it. Changes
    // nothing in the text.
    void set_composition(std::u16string_view text, size_t cursor);
    const std::u16string& composition() const { return composition_; }
    // A press at point puts the caret at the nearest character boundary
    // (extend: selects from the anchor to there); moves while pressed
    // select from the press.
    void pointer_down(Point point, bool extend);
    void pointer_move(Point point);
    // Forgets held Shift and Ctrl (the window lost the focus with them down).
    void release_modifiers();

    // ---- Drawing ----
    // Draws the box (background, text, selection, composition, caret) in its
    // rectangle.
    void draw(RenderSurface& surface);
    // Whether something changed since the last draw.
    bool needs_drawing() const { return dirty_; }
    // The caret's line box on screen (where input methods put their window).
    Rect caret_rect();
    // How far the content is scrolled, in pixels.
    Point scroll();

private:
    struct Layout {
        std::u16string shown;  // the text with the composition at the caret
        std::vector<int32_t> extents;
        std::vector<TextLine> lines;
        int32_t line_height = 0;
        int32_t width = 0;  // of the whole shown text on one line
    };

    // Input.
    bool edit_key(const KeyEvent& event);
    bool move_key(KeyCode code);
    void copy();
    void paste();
    void text_changed();
    void caret_moved();

    // Layout.
    const Layout& layout();
    size_t shown_position(size_t position) const;
    size_t text_position(size_t shown) const;
    size_t line_of(size_t shown) const;
    int32_t x_of(size_t shown) const;
    size_t hit(Point point);
    // shown moved back onto a character boundary of the shown text.
    size_t shown_boundary(size_t shown) const;
    size_t vertical_move(int direction);
    void follow_caret();
    int32_t margin() const;
    Size inner() const;
    // Where the first line's box starts, unscrolled.
    int32_t text_top();

    // Drawing.
    void draw_line(RenderSurface& surface, const TextLine& line, Point origin);

    Lines lines_;
    EditClipboard& clipboard_;
    std::function<void()> changed_;
    std::shared_ptr<const FontRep> font_;
    Color text_color_{0, 0, 0, 255};
    Color background_{255, 255, 255, 255};
    Rect rect_;
    EditBuffer buffer_;
    std::u16string composition_;
    size_t composition_cursor_ = 0;
    Layout layout_;
    bool layout_valid_ = false;
    Point scroll_;
    // The x the caret keeps over Up and Down moves; -1 for none.
    int32_t goal_x_ = -1;
    bool shift_ = false;
    bool ctrl_ = false;
    bool dirty_ = true;
    // Keys whose press the box took: their release is taken too.
    std::bitset<128> taken_;
};
