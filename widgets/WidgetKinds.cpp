#include "widgets/WidgetKinds.h"

#include "skin/elements/ElementFactory.h"
#include "widgets/edit/EditElement.h"
#include "widgets/edit/LabelEditElement.h"
#include "widgets/list/VListElement.h"
#include "widgets/richtext/RichTextElement.h"

namespace {

template <typename T>
void add(std::vector<std::u16string>& registered, std::u16string_view name) {
    ElementFactory::register_kind<T>(name);
    registered.emplace_back(name);
}

}  // namespace

WidgetKinds::WidgetKinds() {
    try {
        add<RichTextElement>(registered_, u"richtext");

        add<VListElement>(registered_, u"vlist");

        add<EditElement>(registered_, u"edit");
        add<LabelEditElement>(registered_, u"label_edit");
    } catch (...) {
        // A kind registered twice: the destructor will not run, so take back
        // what was added before passing it on.
        for (auto it = registered_.rbegin(); it != registered_.rend(); ++it)
            ElementFactory::unregister_kind(*it);
        throw;
    }
}

WidgetKinds::~WidgetKinds() {
    for (auto it = registered_.rbegin(); it != registered_.rend(); ++it)
        ElementFactory::unregister_kind(*it);
}
