#include "skin/elements/ElementKinds.h"

#include "skin/elements/ButtonElement.h"
#include "skin/elements/ClipElement.h"
#include "skin/elements/ColorElement.h"
#include "skin/elements/Element.h"
#include "skin/elements/ImageElement.h"
#include "skin/elements/MultinodeElement.h"
#include "skin/elements/ProgressElement.h"
#include "skin/elements/TableElement.h"
#include "skin/elements/TextElement.h"

ElementKinds::ElementKinds() {
    registered_.add<Element>(u"node");
    registered_.add<TextElement>(u"text");
    registered_.add<ColorElement>(u"color");
    registered_.add<ImageElement>(u"image");
    registered_.add<HTableElement>(u"htable");
    registered_.add<VTableElement>(u"vtable");
    registered_.add<ButtonElement>(u"button");
    registered_.add<MultinodeElement>(u"multinode");
    registered_.add<ProgressElement>(u"progress");
    registered_.add<ClipElement>(u"clip");
}
