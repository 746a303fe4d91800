#pragma once
// One row of the contacts list: the skin node "ContactItem" filled from a
// phone entry. "title" shows the name (the number when there is none, or
// when the name is only the number), "number" the number under a name,
// "type" the first letter of the number's label. The part of either text
// that matches the filter is drawn in the node's "filtered_color" (opaque
// black by default), the rest in its "color".
//
// In recipients mode "active" marks the entry of the chat's own number, and
// otherwise "checkbox" a ticked recipient over the empty "checkbox_place".
#include <memory>
#include <string_view>

class ContactFilter;
class Element;
class Properties;
struct PhoneEntry;

class ContactItem {
public:
    static constexpr char16_t kNode[] = u"ContactItem";
    // The children a "ContactItem" node must have.
    static constexpr std::u16string_view kChildren[] = {u"title",  u"number",   u"type",
                                                        u"active", u"checkbox", u"checkbox_place"};

    struct Look {
        bool recipients = false;  // the form picks recipients of the open chat
        bool own_number = false;  // the entry is the open chat's own number
    };

    // The row for entry, or null (logged) when the skin has no such node. A
    // child the node lacks is left out (the form checks for them at load).
    static std::unique_ptr<Element> create(Properties& properties, const PhoneEntry& entry,
                                           const ContactFilter& filter, Look look);
    // Throws NodeNotFoundInSkin when the skin has no "ContactItem" (or it
    // cannot be built) and NodeNotFound("ContactItem", id) for the first
    // child the node lacks.
    static void check_node(Properties& properties);
};
