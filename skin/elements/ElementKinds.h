#pragma once
// Registers the skin engine's element kinds with the ElementFactory for as
// long as it lives ("node", "text", "color", "image", "htable", "vtable",
// "button", "multinode", "progress", "clip"), and removes them in the reverse
// order when it goes. The application holds one for its whole run; widget
// kinds add their own line to the list.
#include <string>
#include <vector>

class ElementKinds {
public:
    ElementKinds();
    ~ElementKinds();
    ElementKinds(const ElementKinds&) = delete;
    ElementKinds& operator=(const ElementKinds&) = delete;

private:
    std::vector<std::u16string> registered_;
};
