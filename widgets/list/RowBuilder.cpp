#include "widgets/list/RowBuilder.h"

#include <exception>

#include "platform/Log.h"
#include "skin/Properties.h"
#include "skin/elements/Element.h"
#include "skin/elements/ElementFactory.h"

namespace row_builder {

std::unique_ptr<Element> build(Properties& properties, std::u16string_view node_name) {
    const auto node = properties.find_node(node_name);
    if (!node) {
        log() << u"Error: the skin has no row node " << node_name << u"\n";
        return nullptr;
    }
    try {
        const std::u16string kind = properties.string(*node, u"type");
        std::unique_ptr<Element> row =
            kind.empty() ? std::make_unique<Element>() : ElementFactory::create(kind);
        row->load_from_node(properties, *node);
        return row;
    } catch (const std::exception&) {
        log() << u"Error: the row node " << node_name << u" cannot be built\n";
        return nullptr;
    }
}

}  // namespace row_builder
