#include "forms/main/ReloadOverlay.h"

#include <exception>
#include <filesystem>

#include "forms/AppControl.h"
#include "forms/FormStack.h"
#include "lang/LanguageChoice.h"
#include "platform/Log.h"
#include "platform/Paths.h"
#include "platform/Registry.h"
#include "platform/Utf16.h"
#include "skin/Properties.h"

ReloadOverlay::ReloadOverlay(Properties& properties) : Form(properties) {}

void ReloadOverlay::time_step(double seconds) {
    Form::time_step(seconds);
    FormStack* stack = FormStack::instance();
    if (!stack || stack->top() != this) return;
    // Off the stack first: the rebuild may push and remove forms itself.
    stack->remove(*this, false);
    std::u16string previous = std::move(previous_skin_);
    previous_skin_.clear();
    try {
        properties().send_reload_skin();
    } catch (const std::exception& e) {
        // Any skin file may be chosen, also one made for something else (a
        // skin without the program's screens): go back to the skin that
        // showed them, rather than end the program over a menu choice.
        if (previous.empty()) throw;
        log() << u"ReloadOverlay: the chosen skin cannot show the forms ("
              << utf16::from_utf8(e.what()) << u"), back to " << previous << u"\n";
        if (!properties().load_skin(previous, app_control::screen())) throw;
        std::u16string name =
            std::filesystem::path(paths::native(paths::expand(previous))).stem().u16string();
        registry::write_string(choice_key(), u"Skin", name);
        properties().send_reload_skin();
    }
}
