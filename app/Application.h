#pragma once
// The application: the one object that owns the window, the form stack and the
// event loop, reachable from everywhere as a singleton. Window-level events go
// to one AppListener (the program's controller); key, character and pointer
// events go to the form on top of the stack.
#include <memory>
#include <string>

#include "app/GameBase.h"
#include "draw/Color.h"
#include "draw/Rect.h"
#include "draw/text/FontRep.h"
#include "forms/AppControl.h"
#include "forms/FormStack.h"
#include "forms/FormStackHost.h"
#include "input/ScreenInfo.h"
#include "platform/Singleton.h"
#include "skin/elements/ElementKinds.h"
#include "widgets/WidgetKinds.h"
#include "widgets/richtext/SmileyTable.h"

class AppListener;
class SingleInstance;

class Application : public Singleton<Application>, private FormStackHost, private AppControl {
public:
    // Registers the element and widget kinds, builds the form stack and the window
    // object for screen (throws WindowError when no window can be opened).
    // instance, when given, takes the hand-overs of later starts.
    Application(std::u16string name, const ScreenInfo& screen, SingleInstance* instance);
    ~Application();

    const std::u16string& name() const { return name_; }
    AppListener* listener() const { return listener_; }
    // The one listener (not owned); null for none.
    void set_listener(AppListener* listener) { listener_ = listener; }

    FormStack& form_stack() { return form_stack_; }
    GameBase& game() { return *game_; }
    CActiveScheduler& scheduler() { return game_->scheduler(); }

    // ---- Modes ----
    void set_key_input(bool on) { game_->set_key_input(on); }
    void set_gdi_mode(bool variant) { game_->set_gdi_mode(variant); }
    void set_direct_mode(int32_t orientation) { game_->set_direct_mode(orientation); }

    // ---- The loop ----
    // Runs until quit; returns the status given to quit (0 normally).
    int run() { return game_->run(); }
    void pump() { game_->pump(); }
    // Ends the loop (status 0, or the failure of a scripted run). Safe from
    // any thread.
    void quit(int status = 0) { game_->post_quit(status); }

    // ---- The window ----
    void minimise() override;
    void bring_to_front() { game_->bring_to_front(); }
    // Whether the user sees and works with the program: its window is
    // active, not minimised, and the user was not handed to another program.
    bool is_foreground() const {
        return !game_->deactivated() && !game_->backgrounded() && !game_->window().minimised();
    }
    // Before handing the user to another program.
    void mark_backgrounded() override { game_->mark_backgrounded(); }
    // Copies the last frame the program presented (never another program's
    // pixels) into the form stack's backdrop; an empty backdrop before the
    // first frame.
    void capture_backdrop();
    // The area forms may use.
    Rect client_rect() const override;
    const ScreenInfo& screen_info() const { return game_->screen_info(); }
    ScreenInfo read_screen_info() const { return game_->read_screen_info(); }
    // A fresh reading of the screen; when it changed, the listener hears of it
    // (after the log line "Application::ResolutionChanged 2"). Lays out again
    // in any case.
    void resolution_changed();

    Color background() const { return background_; }
    void set_background(Color color);
    const std::shared_ptr<const FontRep>& default_font() const { return default_font_; }

private:
    void form_pushed(Form& form) override;
    void form_removed(Form& form) override;
    void post_quit() override { quit(0); }
    ScreenInfo screen() const override;

    Color background_{0, 0, 0, 255};
    AppListener* listener_ = nullptr;
    std::u16string name_;
    ElementKinds kinds_;
    WidgetKinds widget_kinds_;
    // The program's smileys, found by every rich text element; loaded before
    // any form is built.
    SmileyTable smileys_;
    FormStack form_stack_;
    std::shared_ptr<const FontRep> default_font_;
    std::unique_ptr<GameBase> game_;
};
