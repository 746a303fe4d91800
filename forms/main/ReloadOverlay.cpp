#include "forms/main/ReloadOverlay.h"

#include "forms/FormStack.h"
#include "skin/Properties.h"

ReloadOverlay::ReloadOverlay(Properties& properties) : Form(properties) {}

void ReloadOverlay::time_step(double seconds) {
    Form::time_step(seconds);
    FormStack* stack = FormStack::instance();
    if (!stack || stack->top() != this) return;
    // Off the stack first: the rebuild may push and remove forms itself.
    stack->remove(*this, false);
    properties().send_reload_skin();
}
