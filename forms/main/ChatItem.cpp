#include "forms/main/ChatItem.h"

#include "chats/Chat.h"
#include "platform/LocalTime.h"
#include "platform/LocaleFormat.h"
#include "platform/Utf16.h"
#include "skin/NodeNotFound.h"
#include "skin/NodeNotFoundInSkin.h"
#include "skin/elements/MultinodeElement.h"
#include "skin/elements/TextElement.h"
#include "widgets/richtext/RichTextElement.h"
#include "widgets/richtext/SmileyTable.h"

namespace {

constexpr int64_t kTicksPerDay = 24 * 60 * 60 * local_time::kTicksPerSecond;

int64_t day_of(int64_t local) {
    return local / kTicksPerDay - ((local % kTicksPerDay != 0) && local < 0);
}

}  // namespace

template <class T>
T* ChatItem::required(std::u16string_view id) {
    T* found = dynamic_cast<T*>(find_element(id));
    if (!found) throw NodeNotFound(u"ChatItem", std::u16string(id));
    return found;
}

ChatItem::ChatItem(Properties& properties, const Chat& chat) {
    if (!load_from_skin(properties, u"ChatItem")) throw NodeNotFoundInSkin(u"ChatItem");
    auto* title = required<TextElement>(u"title");
    auto* type = required<TextElement>(u"type");
    auto* body = required<RichTextElement>(u"body");
    auto* unread = required<TextElement>(u"unread");
    auto* day = required<TextElement>(u"day");
    auto* icon = required<MultinodeElement>(u"icon");

    title->set_text(chat.name.empty() ? chat.number : chat.name);
    type->set_visible(!chat.label.empty());
    if (!chat.label.empty()) type->set_text(std::u16string(1, chat.label.front()));

    const SmsRecord& last = chat.last_message();
    body->set_text(last.body(), SmileyTable::instance(), body->font(), body->font(), body->color(),
                   body->color(), nullptr);
    unread->set_visible(chat.unread > 0);
    if (chat.unread > 0) unread->set_text(u"(" + utf16::number(chat.unread) + u")");
    day->set_text(chat.empty()
                      ? std::u16string()
                      : day_text(last.time, local_time::utc_to_local(local_time::now_utc())));
    icon->select(chat.unread > 0 ? 1 : 0, 0);
}

std::u16string ChatItem::day_text(int64_t local, int64_t today_local) {
    if (day_of(local) == day_of(today_local)) return locale_format::format_time(local);
    return locale_format::format_day_month(local);
}
