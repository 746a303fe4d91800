#pragma once
// One row of the chat list, built from the skin node "ChatItem" for one
// chat: the correspondent, the first letter of the number's label, the last
// message as rich text, the unread count, the day of the last message and an
// icon that is on while the chat has unread messages.
//
// A row shows the chat as it is when the row is made; the list makes it
// again whenever the chat changes.
#include <cstdint>
#include <memory>
#include <string>

#include "skin/elements/FormRoot.h"

class Chat;
class MultinodeElement;
class Properties;
class RichTextElement;
class TextElement;

class ChatItem : public FormRoot {
public:
    // The row for chat, whose last message is read already (or the chat is
    // empty). Throws NodeNotFoundInSkin without "ChatItem" and NodeNotFound
    // when it lacks "title", "type", "body", "unread", "day" or "icon".
    ChatItem(Properties& properties, const Chat& chat);

    // The "day" text of a message at local time (a FILETIME) when the local
    // day is today_local's: the time of day for today, else the day and
    // month in the user's order ("22.11" or "11.22").
    static std::u16string day_text(int64_t local, int64_t today_local);

private:
    template <class T>
    T* required(std::u16string_view id);
};
