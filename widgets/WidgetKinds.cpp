#include "widgets/WidgetKinds.h"

#include "widgets/edit/EditElement.h"
#include "widgets/edit/LabelEditElement.h"
#include "widgets/list/VListElement.h"
#include "widgets/richtext/RichTextElement.h"

WidgetKinds::WidgetKinds() {
    registered_.add<RichTextElement>(u"richtext");
    registered_.add<VListElement>(u"vlist");
    registered_.add<EditElement>(u"edit");
    registered_.add<LabelEditElement>(u"label_edit");
}
