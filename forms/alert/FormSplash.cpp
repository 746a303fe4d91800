#include "forms/alert/FormSplash.h"

#include <algorithm>

#include "skin/elements/ProgressElement.h"

FormSplash::FormSplash(Properties& properties) : Form(properties) { FormSplash::load(); }

void FormSplash::load() {
    bind_or_throw(u"FormSplash");
    progress_ = bind_required<ProgressElement>(u"progress");
    progress_->set_value(0);
}

void FormSplash::set_progress(double value) {
    value = std::clamp(value, 0.0, 1.0);
    if (!progress_ || value == progress_->value()) return;
    progress_->set_value(value);
    progress_->mark_redraw();
}
