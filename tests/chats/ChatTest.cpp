#include <gtest/gtest.h>

#include "chats/Chat.h"

TEST(Chat, OrdersChatsByLastMessageThenIdThenKey) {
    auto chat = [](std::u16string key, int64_t time, uint8_t id) {
        Chat c(ChatIdentity{u"", key, key});
        SmsRecord r;
        r.time = time;
        r.id = EntryId(std::vector<uint8_t>{id});
        c.append(std::move(r));
        return c;
    };
    EXPECT_TRUE(chat_before(chat(u"1", 20, 1), chat(u"2", 10, 9)));
    EXPECT_TRUE(chat_before(chat(u"1", 10, 9), chat(u"2", 10, 1)));
    EXPECT_TRUE(chat_before(chat(u"2", 10, 1), chat(u"1", 10, 1)));
    EXPECT_FALSE(chat_before(chat(u"1", 20, 1), chat(u"1", 10, 1)));
    EXPECT_TRUE(chat_before(chat(u"1", 1, 1), Chat(ChatIdentity{u"", u"0", u"0"})));
}
