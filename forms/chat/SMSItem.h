#pragma once
// One message bubble of the chat form's list: the message text as rich text
// (smileys drawn, links and numbers tappable), its time, the day heading above
// it and an icon for its direction and state.
//
// Built from "SMSItemIn" for incoming and "SMSItemOut" for outgoing messages
// when the skin has them, else from "SMSItem". The node needs "body"
// (richtext), "day_node" (the heading), "day" and "time" (buttons showing the
// date and the time) and "icon" (a multinode, one page per MessageState). A
// child node "link" gives the links' pressed "font" and their "color".
#include <memory>
#include <string_view>

#include "skin/elements/Element.h"

class ButtonElement;
class LinkListener;
class MultinodeElement;
class Properties;
class RichTextElement;
struct SmsRecord;

class SMSItem : public Element {
public:
    // The bubble of record, which must be read (load_sms) already. show_day:
    // the heading is shown (the first message, or the day changed). Links
    // tapped go to links (not owned; null: only logged). Null, with one log
    // line, when the skin has none of the nodes; throws NodeNotFound when the
    // node lacks one of the children above.
    static std::unique_ptr<SMSItem> create(Properties& properties, const SmsRecord& record,
                                           bool show_day, LinkListener* links);

    // The node a record's bubble is built from in the current skin, or empty
    // when it has none.
    static std::u16string_view node_for(const Properties& properties, bool incoming);

    RichTextElement* body() const { return body_; }
    Element* day_node() const { return day_node_; }
    ButtonElement* day() const { return day_; }
    ButtonElement* time() const { return time_; }
    MultinodeElement* icon() const { return icon_; }

private:
    SMSItem() = default;
    void bind(Properties& properties, std::u16string_view node_name);
    void fill(Properties& properties, std::u16string_view node_name, const SmsRecord& record,
              bool show_day, LinkListener* links);

    RichTextElement* body_ = nullptr;
    Element* day_node_ = nullptr;
    ButtonElement* day_ = nullptr;
    ButtonElement* time_ = nullptr;
    MultinodeElement* icon_ = nullptr;
};
