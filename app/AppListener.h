#pragma once
// The window-level events the application reports to the one object that runs
// the program (its controller). Every operation has a default that does
// nothing (can_close allows closing, on_key leaves the key to the forms), so a
// controller overrides only what it acts on.
#include <string>

#include "input/KeyEvent.h"

class Form;

class AppListener {
public:
    virtual ~AppListener() = default;

    // A later start handed over its command line ("" for none).
    virtual void on_other_instance_started(const std::u16string& command_line) {
        (void)command_line;
    }
    // The user asked to close the window; false keeps it open.
    virtual bool can_close() { return true; }
    // A form was put on the stack, or taken off it.
    virtual void on_form_pushed(Form& form) { (void)form; }
    virtual void on_form_removed(Form& form) { (void)form; }
    // The screen's size or orientation changed.
    virtual void on_resolution_changed() {}
    virtual void on_help() {}
    // The window stopped or started being the active window.
    virtual void on_deactivate() {}
    virtual void on_activate() {}
    // Offered every key before the forms; true when handled.
    virtual bool on_key(const KeyEvent& event) {
        (void)event;
        return false;
    }
};
