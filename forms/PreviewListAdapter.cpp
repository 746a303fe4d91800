#include "forms/PreviewListAdapter.h"

#include <string>

#include "platform/Log.h"
#include "platform/Utf16.h"
#include "widgets/list/RowBuilder.h"
#include "widgets/list/VListElement.h"

void PreviewListAdapter::adopt_lists(Element& root) {
    if (auto* list = dynamic_cast<VListElement*>(&root))
        list->set_adapter(this, list->preview_count());
    for (size_t i = 0; i < root.child_count(); ++i) adopt_lists(*root.child(i));
}

std::unique_ptr<Element> PreviewListAdapter::create_row(VListElement& list, int index) {
    if (list.preview_row().empty()) return nullptr;
    std::unique_ptr<Element> row = row_builder::build(properties_, list.preview_row());
    if (!row) return nullptr;
    const std::u16string number = utf16::from_utf8(std::to_string(index));
    row->set_id(u"row" + number);
    row->set_text(u"#text", u"Row " + number);
    row->set_text(u"text", u"Row " + number);
    return row;
}

void PreviewListAdapter::row_tapped(VListElement&, int index) {
    log() << u"FormPreview row " << index << u"\n";
}
