#pragma once
// The forms on screen, one over another: an ordered list of entries {form,
// overlay}, the last on top. A full form hides everything below it; an
// overlay (a dialog, the splash, the alert, a menu) is drawn over the
// backdrop, a picture of what lay below, which dims gradually while the
// overlay shows. Changes between full forms play the new (or removed) form's
// visibility animation as a transition over the whole form.
//
// The stack never owns a form. A form must come off the stack before it is
// destroyed; one destroyed on it is dropped (see forget). Only the top form
// and, under an overlay top, the backdrop are drawn; forms below are hidden
// and keep their state.
//
// Forms and dialogs reach the one instance through FormStack::instance(); the
// application holds it. User-interface thread only.
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "draw/Color.h"
#include "draw/Point.h"
#include "draw/RenderSurface.h"
#include "forms/Backdrop.h"
#include "forms/FrameRateBox.h"
#include "input/KeyEvent.h"
#include "input/PointerEvent.h"
#include "platform/Singleton.h"

class Form;
class FormStackHost;
class VisibilityAnimation;

class FormStack : public Singleton<FormStack> {
public:
    struct Entry {
        Form* form = nullptr;
        bool overlay = false;
    };

    // host must outlive the stack.
    explicit FormStack(FormStackHost& host);
    ~FormStack();

    // ---- The stack ----

    // Shows form on top, laid out in the client rectangle, and gives it the
    // input focus. A full form pushed with animate plays its node's
    // visibility animation from the screen as it was; pushed back while its
    // own removal still plays, that transition turns round instead. A form
    // that is on the stack already is taken off it first, so every form is
    // listed once. Tells the host after.
    void push(Form& form, bool overlay, bool animate);
    // Takes form off the stack wherever it is. From the middle nothing shown
    // changes. From the top the form below is shown (a full form removed with
    // animate plays its animation backwards, or turns round its own push
    // transition while that still plays) and gets the input focus. Returns
    // false, with nothing changed, when form is not on the stack.
    bool remove(Form& form, bool animate);
    // The top form, or null.
    Form* top() const;
    size_t count() const { return entries_.size(); }
    // Bottom first.
    const std::vector<Entry>& entries() const { return entries_; }
    bool contains(const Form& form) const;

    // ---- Frames ----

    // Advances the running transition; with none, lays the top form out in
    // the client rectangle and gives it the time step.
    void time_step(double seconds);
    // Whether the next draw would change the screen: the redraw flag, a
    // running transition, or a top form marked for redraw or layout
    // anywhere in its tree. With include_pending also a change of the client
    // rectangle that the top form has not been laid out for yet.
    bool needs_drawing(bool include_pending) const;
    // Draws the whole screen: the background colour with no form, the
    // transition while one plays, else the top form (an overlay over the
    // dimmed backdrop, a full form over its outside colour). While the log
    // is on, the frame-rate box comes last.
    void draw(RenderSurface& surface);

    // ---- Input: to the top form ----

    void pointer_move(const PointerEvent& event);
    // With no form on the stack these three answer handled.
    bool pointer_button(const PointerEvent& event);
    bool key(const KeyEvent& event);
    bool character(std::u16string_view text);

    // ---- State ----

    // The backdrop picture, in screen coordinates, for the application to
    // copy a captured screen into.
    RenderSurface& backdrop() { return backdrop_.surface(); }
    // 256 undimmed down to 128.
    int fade_level() const { return backdrop_.fade_level(); }
    Color background() const { return background_; }
    // The colour shown with no form and behind transitions; initially black.
    void set_background(Color color);
    // The whole screen is drawn again on the next frame.
    void set_redraw() { redraw_ = true; }
    bool redraw_pending() const { return redraw_; }
    bool transition_running() const { return transition_ != nullptr; }
    // The running transition, or null.
    const VisibilityAnimation* transition() const { return transition_.get(); }
    // The form that was last given the input focus and is still on the
    // stack, or null.
    Form* focused() const { return focus_; }

    // Drops every entry of form without touching it (it is being
    // destroyed): logs the fault and redraws. Form's destructor calls this.
    void forget(const Form& form);

private:
    void push_full(Form& form, bool animate);
    void reveal(Form& removed, bool removed_overlay, bool animate);
    // Lays form out in the client rectangle.
    void fit(Form& form);
    void give_focus(Form& form);
    void end_transition();
    // Draws form (laid out) into image, through its own cache.
    static void take_image(Form& form, RenderSurface& image);
    // Plays a clone of animation at form's place from the image in from to
    // the one in to (both are taken over).
    void start_transition(const VisibilityAnimation& animation, const Form& form, int32_t direction,
                          RenderSurface& from, RenderSurface& to);
    void capture(Form& form);
    // The nearest full form below entry index, or null.
    Form* full_form_below(size_t index) const;
    void fill_outside(RenderSurface& surface, const Form& form) const;

    FormStackHost& host_;
    std::vector<Entry> entries_;
    std::unique_ptr<VisibilityAnimation> transition_;
    // The form the transition shows or hides; compared, never followed (it
    // may be gone while its removal plays).
    const Form* transition_form_ = nullptr;
    Point transition_position_;
    Backdrop backdrop_;
    Color background_{0, 0, 0, 255};
    bool redraw_ = true;
    Form* focus_ = nullptr;
    FrameRateBox frame_rate_;
};
