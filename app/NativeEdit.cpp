#include "app/NativeEdit.h"

#include "display/Window.h"
#include "platform/Registry.h"
#include "widgets/edit/EditElement.h"

NativeEdit::NativeEdit(Window& window) : window_(window), clipboard_(window) {
    uint32_t value = 0;
    if (registry::read_number(kPreferenceKey, kPreferenceName, value)) preference_ = value;
}

NativeEdit::~NativeEdit() {
    if (panel_raised_) window_.stop_text_input();
}

void NativeEdit::bind(EditElement& element, bool create) {
    EditElement* before = bound_;
    bound_ = &element;
    if (!before && (preference_ != 0 || !window_.has_screen_keyboard())) panel_raised_ = true;
    if (create && !box_)
        box_ = std::make_unique<EditBox>(EditBox::Lines::Single, clipboard_,
                                         [this] { changed_ = true; });
    if (box_) {
        if (before != &element) {
            box_->set_lines(element.multi_line() ? EditBox::Lines::Multi : EditBox::Lines::Single);
            box_->set_style(element.font(), element.color(), element.background_color());
            box_->set_text(element.text());
        } else if (box_->text() != element.text()) {
            box_->set_text(element.text());
        }
        box_->set_rect(element.rect());
    }
    after_input();
}

void NativeEdit::unbind() {
    if (!bound_) return;
    bound_ = nullptr;
    box_.reset();
    changed_ = false;
    preference_ = window_.input_panel_shown() ? 1 : 0;
    registry::write_number(kPreferenceKey, kPreferenceName, preference_);
    panel_raised_ = false;
    window_.stop_text_input();
}

void NativeEdit::raise_panel() {
    if (!bound_ || panel_raised_) return;
    panel_raised_ = true;
    after_input();
}

bool NativeEdit::key(const KeyEvent& event) {
    if (!box_) return false;
    bool taken = box_->key(event);
    after_input();
    return taken;
}

void NativeEdit::type(std::u16string_view text) {
    if (!box_) return;
    box_->type(text);
    after_input();
}

void NativeEdit::compose(std::u16string_view text, int32_t cursor) {
    if (!box_) return;
    box_->set_composition(text, static_cast<size_t>(std::max(0, cursor)));
    after_input();
}

bool NativeEdit::contains(Point point) const {
    if (!box_) return false;
    Rect r = box_->rect();
    return r.left <= point.x && point.x < r.right && r.top <= point.y && point.y < r.bottom;
}

void NativeEdit::pointer_down(Point point) {
    if (!box_) return;
    box_->pointer_down(point, false);
    raise_panel();
    after_input();
}

void NativeEdit::pointer_move(Point point) {
    if (!box_) return;
    box_->pointer_move(point);
    after_input();
}

void NativeEdit::release_modifiers() {
    if (box_) box_->release_modifiers();
}

void NativeEdit::draw(RenderSurface& surface) {
    if (box_) box_->draw(surface);
}

void NativeEdit::after_input() {
    // The element hears of the change only once the box is done with the
    // input: its listener may hide the element, which ends the binding and
    // takes the box away.
    if (changed_ && bound_ && box_) {
        changed_ = false;
        std::u16string text = box_->text();
        bound_->set_text(text);
    }
    if (panel_raised_ && box_) window_.start_text_input(box_->caret_rect());
}

std::u16string NativeEdit::Clipboard::text() { return window_.clipboard_text(); }

void NativeEdit::Clipboard::set_text(std::u16string_view text) { window_.set_clipboard_text(text); }
