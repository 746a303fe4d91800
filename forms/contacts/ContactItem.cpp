#include "forms/contacts/ContactItem.h"

#include "chats/PhoneEntry.h"
#include "forms/contacts/ContactFilter.h"
#include "skin/NodeNotFound.h"
#include "skin/NodeNotFoundInSkin.h"
#include "skin/Properties.h"
#include "skin/elements/TextElement.h"
#include "widgets/list/RowBuilder.h"

namespace {

// Shows text in element with the filter's first match in color.
void show_matched(TextElement* element, std::u16string_view text, const ContactFilter& filter,
                  Color color) {
    if (!element) return;
    element->set_text(text);
    const size_t at = filter.empty() ? ContactFilter::npos : filter.find(text);
    if (at == ContactFilter::npos)
        element->set_highlight({});
    else
        element->set_highlight({at, filter.text().size(), color});
}

void show(Element* element, bool visible) {
    if (element) element->set_visible(visible);
}

}  // namespace

std::unique_ptr<Element> ContactItem::create(Properties& properties, const PhoneEntry& entry,
                                             const ContactFilter& filter, Look look) {
    std::unique_ptr<Element> row = row_builder::build(properties, kNode);
    if (!row) return nullptr;

    Color filtered{0, 0, 0, 255};
    if (std::optional<SkinNode> node = properties.find_node(kNode))
        filtered = properties.color(*node, u"filtered_color", filtered);

    auto text = [&](std::u16string_view id) {
        return dynamic_cast<TextElement*>(row->find_element(id));
    };
    const bool named = !entry.name.empty() && entry.name != entry.number;
    show_matched(text(u"title"), named ? entry.name : entry.number, filter, filtered);

    TextElement* number = text(u"number");
    const bool number_shown = named && !entry.number.empty();
    if (number_shown) show_matched(number, entry.number, filter, filtered);
    show(number, number_shown);

    TextElement* type = text(u"type");
    if (type && !entry.label.empty()) {
        const size_t length =
            entry.label.size() >= 2 && entry.label[0] >= 0xD800 && entry.label[0] <= 0xDBFF ? 2 : 1;
        type->set_text(std::u16string_view(entry.label).substr(0, length));
    }
    show(type, !entry.label.empty());

    show(row->find_element(u"active"), look.recipients && look.own_number);
    show(row->find_element(u"checkbox"), look.recipients && !look.own_number && entry.selected);
    show(row->find_element(u"checkbox_place"), look.recipients);
    return row;
}

void ContactItem::check_node(Properties& properties) {
    if (!properties.find_node(kNode)) throw NodeNotFoundInSkin(kNode);
    std::unique_ptr<Element> probe = row_builder::build(properties, kNode);
    if (!probe) throw NodeNotFoundInSkin(kNode);
    for (std::u16string_view id : kChildren)
        if (!probe->find_element(id)) throw NodeNotFound(kNode, std::u16string(id));
}
