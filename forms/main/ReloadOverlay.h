#pragma once
// Shown for one frame after the user picked another language or skin: the
// screen dims under it, and on its first time step it has the main skin's
// properties rebuild every form, then takes itself off the FormStack. So
// the rebuild, which takes a moment, happens behind a dimmed screen rather
// than inside the menu's tap.
#include "forms/Form.h"

class ReloadOverlay : public Form {
public:
    explicit ReloadOverlay(Properties& properties);

    void time_step(double seconds) override;

    // The skin to go back to when the forms cannot be built from the new
    // one (a skin without the program's screens): its path, as the
    // properties held it before the switch. Empty: a change of language.
    void set_previous_skin(std::u16string path) { previous_skin_ = std::move(path); }

protected:
    // A form of its own making: the overlay has no skin node (it keeps its
    // tree across reloads, having none).
    void load() override {}

private:
    std::u16string previous_skin_;
};
