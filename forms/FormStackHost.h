#pragma once
// What the FormStack needs from the application that shows it: the area forms
// may use, and a word whenever a form goes on or comes off the stack.
#include "draw/Rect.h"

class Form;

class FormStackHost {
public:
    virtual ~FormStackHost() = default;
    // The area of the screen the forms are laid out in, in screen pixels.
    virtual Rect client_rect() const = 0;
    // After form went on the stack (it is the top by then).
    virtual void form_pushed(Form& form) = 0;
    // When form is being taken off the stack, before the form below is
    // shown.
    virtual void form_removed(Form& form) = 0;
};
