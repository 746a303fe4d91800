#include "forms/templates/TemplateItem.h"

#include "skin/elements/TextElement.h"
#include "widgets/list/RowBuilder.h"

std::unique_ptr<Element> TemplateItem::create(Properties& properties, std::u16string_view text) {
    std::unique_ptr<Element> row = row_builder::build(properties, kNode);
    if (!row) return nullptr;
    if (auto* shown = dynamic_cast<TextElement*>(row->find_element(u"text"))) shown->set_text(text);
    return row;
}
