#include "forms/chat/SMSItem.h"

#include <optional>

#include "forms/chat/MessageState.h"
#include "messaging/SmsRecord.h"
#include "platform/Log.h"
#include "skin/NodeNotFound.h"
#include "skin/Properties.h"
#include "skin/elements/ButtonElement.h"
#include "skin/elements/MultinodeElement.h"
#include "widgets/richtext/RichTextElement.h"
#include "widgets/richtext/SmileyTable.h"

namespace {

// The first node below node (children first, then each child's subtree)
// whose "id" is id: the same order in which elements are found.
std::optional<SkinNode> find_node(const Properties& properties, SkinNode node,
                                  std::u16string_view id) {
    const size_t n = properties.child_count(node);
    for (size_t i = 0; i < n; ++i) {
        SkinNode child = properties.child(node, i);
        if (properties.string(child, u"id") == id) return child;
    }
    for (size_t i = 0; i < n; ++i)
        if (auto found = find_node(properties, properties.child(node, i), id)) return found;
    return std::nullopt;
}

template <class T>
T* require(Element& item, std::u16string_view node_name, std::u16string_view id) {
    auto* found = dynamic_cast<T*>(item.find_element(id));
    if (!found) throw NodeNotFound(std::u16string(node_name), std::u16string(id));
    return found;
}

}  // namespace

std::u16string_view SMSItem::node_for(const Properties& properties, bool incoming) {
    std::u16string_view own = incoming ? u"SMSItemIn" : u"SMSItemOut";
    if (properties.find_node(own)) return own;
    if (properties.find_node(u"SMSItem")) return u"SMSItem";
    return {};
}

std::unique_ptr<SMSItem> SMSItem::create(Properties& properties, const SmsRecord& record,
                                         bool show_day, LinkListener* links) {
    const std::u16string_view node_name = node_for(properties, record.incoming());
    if (node_name.empty()) {
        log() << u"Error: the skin has no SMSItem\n";
        return nullptr;
    }
    std::unique_ptr<SMSItem> item(new SMSItem());
    item->bind(properties, node_name);
    item->fill(properties, node_name, record, show_day, links);
    return item;
}

void SMSItem::bind(Properties& properties, std::u16string_view node_name) {
    load_from_skin(properties, node_name);
    body_ = require<RichTextElement>(*this, node_name, u"body");
    day_node_ = require<Element>(*this, node_name, u"day_node");
    day_ = require<ButtonElement>(*this, node_name, u"day");
    time_ = require<ButtonElement>(*this, node_name, u"time");
    icon_ = require<MultinodeElement>(*this, node_name, u"icon");
    // The buttons only show texts: a tap on them is a tap on the bubble.
    day_->set_listener(nullptr);
    time_->set_listener(nullptr);
}

void SMSItem::fill(Properties& properties, std::u16string_view node_name, const SmsRecord& record,
                   bool show_day, LinkListener* links) {
    const SkinNode node = *properties.find_node(node_name);
    const std::optional<SkinNode> body_node = find_node(properties, node, u"body");
    const std::optional<SkinNode> link_node = find_node(properties, node, u"link");
    const Color text_color = body_node ? properties.color(*body_node, u"color", Color{0, 0, 0, 255})
                                       : Color{0, 0, 0, 255};
    std::shared_ptr<const FontRep> link_font;
    Color link_color = text_color;
    if (link_node) {
        link_font = properties.font(*link_node, u"font");
        link_color = properties.color(*link_node, u"color", text_color);
    }
    body_->set_text(record.body(), SmileyTable::instance(), nullptr, std::move(link_font),
                    text_color, link_color, links);
    day_->set_button_text(record.date_text());
    time_->set_button_text(record.time_text());
    day_node_->set_visible(show_day);
    icon_->select(static_cast<size_t>(message_state(record)), 0);
}
