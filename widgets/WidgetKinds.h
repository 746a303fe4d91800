#pragma once
// Registers the widget kinds with the ElementFactory for as long as it lives
// ("richtext", "vlist", "edit", "label_edit"), and removes them in the
// reverse order when it goes. The application holds one beside the skin
// engine's ElementKinds.
#include "skin/elements/KindRegistrations.h"

class WidgetKinds {
public:
    WidgetKinds();
    WidgetKinds(const WidgetKinds&) = delete;
    WidgetKinds& operator=(const WidgetKinds&) = delete;

private:
    KindRegistrations registered_;
};
