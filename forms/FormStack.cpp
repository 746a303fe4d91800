// Sections: the stack (push, remove), frames (time step, drawing), input,
// helpers.
#include "forms/FormStack.h"

#include <algorithm>

#include "forms/Form.h"
#include "forms/FormStackHost.h"
#include "platform/Log.h"
#include "platform/Ticks.h"
#include "skin/animations/VisibilityAnimation.h"

FormStack::FormStack(FormStackHost& host) : host_(host) {}

FormStack::~FormStack() = default;

// ---- The stack ----

void FormStack::push(Form& form, bool overlay, bool animate) {
    // Listed twice, a form would stay on the stack after its one removal and
    // be drawn after it is gone.
    if (contains(form)) remove(form, false);
    redraw_ = true;
    fit(form);
    if (entries_.empty()) {
        form.set_visible(true);
    } else if (!overlay) {
        push_full(form, animate);
    } else {
        end_transition();
        Form& old = *entries_.back().form;
        if (!entries_.back().overlay) capture(old);
        old.set_visible(false);
        form.set_visible(true);
    }
    entries_.push_back({&form, overlay});
    give_focus(form);
    host_.form_pushed(form);
}

void FormStack::push_full(Form& form, bool animate) {
    const Entry old = entries_.back();
    if (animate && transition_ && transition_form_ == &form && transition_->direction() < 0) {
        // Its removal is still playing: play it back from where it is.
        transition_->reverse();
        old.form->set_visible(false);
        form.set_visible(true);
        return;
    }
    end_transition();
    const VisibilityAnimation* animation = animate ? form.visibility_animation() : nullptr;
    RenderSurface from;
    if (animation) {
        // The transition starts from what is on screen now.
        const Rect rect = form.rect();
        from.recreate(rect.size());
        if (!old.overlay) {
            capture(*old.form);
            backdrop_.copy_to(from, rect.top_left(), background_);
        } else {
            // The dimmed backdrop with the overlay over it. Composed apart
            // from the backdrop, which keeps its undimmed picture for when
            // the overlay shows again.
            backdrop_.paint(from, rect.top_left(), background_);
            old.form->draw(from, old.form->position() - rect.top_left());
        }
    }
    old.form->set_visible(false);
    form.set_visible(true);
    if (old.overlay) backdrop_.set_fade_level(Backdrop::kUndimmed);
    if (animation) {
        RenderSurface to;
        take_image(form, to);
        start_transition(*animation, form, 1, from, to);
    }
}

bool FormStack::remove(Form& form, bool animate) {
    auto it = std::find_if(entries_.begin(), entries_.end(),
                           [&](const Entry& e) { return e.form == &form; });
    if (it == entries_.end()) return false;
    redraw_ = true;
    host_.form_removed(form);
    // The host may have changed the stack meanwhile.
    it = std::find_if(entries_.begin(), entries_.end(),
                      [&](const Entry& e) { return e.form == &form; });
    if (it == entries_.end()) return true;
    if (focus_ == &form) focus_ = nullptr;
    const bool was_top = it + 1 == entries_.end();
    const bool overlay = it->overlay;
    entries_.erase(it);
    if (!was_top || entries_.empty()) {
        form.set_visible(false);
        return true;
    }
    reveal(form, overlay, animate);
    return true;
}

void FormStack::reveal(Form& removed, bool removed_overlay, bool animate) {
    Form& now = *entries_.back().form;
    const bool now_overlay = entries_.back().overlay;
    if (animate && transition_ && transition_form_ == &removed && transition_->direction() > 0) {
        // Its push is still playing: play it back from where it is.
        transition_->reverse();
        removed.set_visible(false);
        now.set_visible(true);
        fit(now);
        give_focus(now);
        return;
    }
    end_transition();
    fit(now);
    if (removed_overlay) {
        removed.set_visible(false);
        now.set_visible(true);
        give_focus(now);
        return;
    }
    const VisibilityAnimation* animation = animate ? removed.visibility_animation() : nullptr;
    // The removed form's image is taken while it is still laid out and shown.
    RenderSurface to;
    if (animation) {
        fit(removed);
        take_image(removed, to);
    }
    removed.set_visible(false);
    now.set_visible(true);
    give_focus(now);
    // The backdrop gets what the overlay shows over or, for a transition, the
    // picture it ends on.
    if (now_overlay) {
        if (Form* full = full_form_below(entries_.size() - 1)) {
            fit(*full);
            capture(*full);
        }
    } else if (animation) {
        capture(now);
    }
    if (animation) {
        const Rect rect = removed.rect();
        RenderSurface from(rect.size());
        backdrop_.copy_to(from, rect.top_left(), background_);
        start_transition(*animation, removed, -1, from, to);
    }
}

Form* FormStack::top() const { return entries_.empty() ? nullptr : entries_.back().form; }

bool FormStack::contains(const Form& form) const {
    return std::any_of(entries_.begin(), entries_.end(),
                       [&](const Entry& e) { return e.form == &form; });
}

void FormStack::forget(const Form& form) {
    const auto gone = std::remove_if(entries_.begin(), entries_.end(),
                                     [&](const Entry& e) { return e.form == &form; });
    if (gone != entries_.end()) {
        log() << "Error: FormStack a form was destroyed while on the stack\n";
        entries_.erase(gone, entries_.end());
        redraw_ = true;
    }
    if (focus_ == &form) focus_ = nullptr;
    if (transition_form_ == &form) transition_form_ = nullptr;
}

// ---- Frames ----

void FormStack::time_step(double seconds) {
    if (transition_) {
        transition_->advance(seconds);
        redraw_ = true;
        if (!transition_->running()) end_transition();
        return;
    }
    if (Form* form = top()) {
        fit(*form);
        form->time_step(seconds);
    }
}

bool FormStack::needs_drawing(bool include_pending) const {
    if (redraw_ || transition_) return true;
    const Form* form = top();
    if (!form) return false;
    if (form->needs_redraw() || form->layout_dirty()) return true;
    return include_pending && form->rect() != host_.client_rect();
}

void FormStack::draw(RenderSurface& surface) {
    const bool changed = needs_drawing(true);
    redraw_ = false;
    const Size size = surface.size();
    if (transition_) {
        surface.fill({0, 0}, size, background_);
        transition_->draw(surface, transition_position_);
    } else if (entries_.empty()) {
        surface.fill({0, 0}, size, background_);
    } else {
        Form& form = *entries_.back().form;
        fit(form);
        if (entries_.back().overlay) {
            backdrop_.paint(surface, {0, 0}, background_);
            if (backdrop_.step_towards(Backdrop::kDimmed)) redraw_ = true;
        } else {
            fill_outside(surface, form);
        }
        form.draw(surface);
    }
    if (entries_.empty() || !entries_.back().overlay) {
        if (backdrop_.step_towards(Backdrop::kUndimmed)) redraw_ = true;
    }
    if (log().is_file()) {
        // Only frames that changed something count: a repaint of the same
        // picture for the window says nothing about the program's pace.
        if (changed) frame_rate_.frame(ticks::now_ms());
        frame_rate_.draw(surface);
    }
}

// ---- Input ----

void FormStack::pointer_move(const PointerEvent& event) {
    if (Form* form = top()) form->pointer_move(event);
}

bool FormStack::pointer_button(const PointerEvent& event) {
    Form* form = top();
    return form ? form->pointer_button(event) : true;
}

bool FormStack::key(const KeyEvent& event) {
    Form* form = top();
    return form ? form->key(event) : true;
}

bool FormStack::character(std::u16string_view text) {
    Form* form = top();
    return form ? form->character(text) : true;
}

// ---- Helpers ----

void FormStack::set_background(Color color) {
    background_ = color;
    redraw_ = true;
}

void FormStack::fit(Form& form) {
    const Rect client = host_.client_rect();
    const Size size = client.size();
    form.set_x_extent(client.left, size.width);
    form.set_y_extent(client.top, size.height);
}

void FormStack::give_focus(Form& form) {
    focus_ = &form;
    form.focus();
}

void FormStack::end_transition() {
    if (!transition_) return;
    transition_.reset();
    transition_form_ = nullptr;
    redraw_ = true;
}

void FormStack::take_image(Form& form, RenderSurface& image) {
    form.update_cache();
    image.swap(form.cache_surface());
}

void FormStack::start_transition(const VisibilityAnimation& animation, const Form& form,
                                 int32_t direction, RenderSurface& from, RenderSurface& to) {
    transition_ = animation.clone();
    transition_form_ = &form;
    transition_position_ = form.position();
    transition_->start(&from, nullptr, direction, &to, form.cache_op());
}

void FormStack::capture(Form& form) {
    backdrop_.capture(form, form.outside_color(), host_.client_rect());
}

Form* FormStack::full_form_below(size_t index) const {
    for (size_t i = std::min(index, entries_.size()); i-- > 0;)
        if (!entries_[i].overlay) return entries_[i].form;
    return nullptr;
}

void FormStack::fill_outside(RenderSurface& surface, const Form& form) const {
    const Size size = surface.size();
    const Rect r = form.rect();
    const Color outside = form.outside_color();
    const int32_t top = std::clamp(r.top, 0, size.height);
    const int32_t bottom = std::clamp(r.bottom, top, size.height);
    const int32_t left = std::clamp(r.left, 0, size.width);
    const int32_t right = std::clamp(r.right, left, size.width);
    if (top > 0) surface.fill({0, 0}, {size.width, top}, outside);
    if (bottom < size.height)
        surface.fill({0, bottom}, {size.width, size.height - bottom}, outside);
    if (left > 0) surface.fill({0, top}, {left, bottom - top}, outside);
    if (right < size.width) surface.fill({right, top}, {size.width - right, bottom - top}, outside);
}
