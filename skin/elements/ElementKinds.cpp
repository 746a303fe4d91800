#include "skin/elements/ElementKinds.h"

#include "skin/elements/ButtonElement.h"
#include "skin/elements/ClipElement.h"
#include "skin/elements/ColorElement.h"
#include "skin/elements/Element.h"
#include "skin/elements/ElementFactory.h"
#include "skin/elements/ImageElement.h"
#include "skin/elements/MultinodeElement.h"
#include "skin/elements/ProgressElement.h"
#include "skin/elements/TableElement.h"
#include "skin/elements/TextElement.h"

namespace {

template <typename T>
void add(std::vector<std::u16string>& registered, std::u16string_view name) {
    ElementFactory::register_kind<T>(name);
    registered.emplace_back(name);
}

}  // namespace

ElementKinds::ElementKinds() {
    try {
        add<Element>(registered_, u"node");
        add<TextElement>(registered_, u"text");
        add<ColorElement>(registered_, u"color");
        add<ImageElement>(registered_, u"image");
        // "edit" goes here.
        add<HTableElement>(registered_, u"htable");
        add<VTableElement>(registered_, u"vtable");
        add<ButtonElement>(registered_, u"button");
        // "vlist" goes here.
        add<MultinodeElement>(registered_, u"multinode");
        add<ProgressElement>(registered_, u"progress");
        // "label_edit" goes here.
        add<ClipElement>(registered_, u"clip");
        // "richtext" goes here.
    } catch (...) {
        // A kind registered twice (NodeAlreadyRegistered): the destructor will
        // not run, so take back what was added before passing it on.
        for (auto it = registered_.rbegin(); it != registered_.rend(); ++it)
            ElementFactory::unregister_kind(*it);
        throw;
    }
}

ElementKinds::~ElementKinds() {
    for (auto it = registered_.rbegin(); it != registered_.rend(); ++it)
        ElementFactory::unregister_kind(*it);
}
