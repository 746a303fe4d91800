#pragma once
// Registers the skin engine's element kinds with the ElementFactory for as
// long as it lives ("node", "text", "color", "image", "htable", "vtable",
// "button", "multinode", "progress", "clip"), and removes them in the reverse
// order when it goes. The application holds one for its whole run; the
// widget kinds have their own (widgets/WidgetKinds).
#include "skin/elements/KindRegistrations.h"

class ElementKinds {
public:
    ElementKinds();
    ElementKinds(const ElementKinds&) = delete;
    ElementKinds& operator=(const ElementKinds&) = delete;

private:
    KindRegistrations registered_;
};
