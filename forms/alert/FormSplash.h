#pragma once
// The splash: shown while the program loads, from a small skin of its own so
// that it can show before the main skin is read. Its one working child is
// the "progress" bar.
#include "forms/Form.h"

class ProgressElement;

class FormSplash : public Form {
public:
    // Binds to "FormSplash" of properties' skin and sets the bar to 0.
    // Throws NodeNotFoundInSkin when the skin lacks the node and NodeNotFound
    // when it has no "progress" bar. properties must outlive the form.
    explicit FormSplash(Properties& properties);

    ProgressElement* progress() const { return progress_; }
    // Clamped to 0..1; a value equal to the shown one changes nothing, a
    // changed one marks the bar and its ancestors for redraw.
    void set_progress(double value);

protected:
    void load() override;

private:
    ProgressElement* progress_ = nullptr;
};
