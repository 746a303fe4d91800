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

#include "chats/KnownIds.h"

// The index of a start holds every id of the chats once, in EntryId order,
// whatever their lengths and however their first bytes compare.
TEST(KnownIds, IndexesTheChatsIdsInEntryIdOrder) {
    std::vector<std::vector<uint8_t>> bytes = {
        {7},
        {1, 2, 3, 4, 5, 6, 7, 9},
        {1, 2, 3, 4, 5, 6, 7, 8},  // the same first seven bytes
        {0x80, 0, 0, 0, 0, 0, 0, 0},
        std::vector<uint8_t>(300, 0x10),
        std::vector<uint8_t>(256, 0xF0),  // shorter, so first, though its bytes are larger
        std::vector<uint8_t>(300, 0x01),
        [] {
            std::vector<uint8_t> later(300, 0x01);  // differs only after the first eight
            later.back() = 0;
            return later;
        }(),
        {7},  // in two chats
    };
    std::vector<std::unique_ptr<Chat>> chats;
    for (int c = 0; c < 2; ++c)
        chats.push_back(std::make_unique<Chat>(ChatIdentity{u"", u"1", u"1"}));
    std::vector<EntryId> expected;
    for (size_t i = 0; i < bytes.size(); ++i) {
        SmsRecord record;
        record.id = EntryId(bytes[i]);
        record.folder = kFolderSent;
        expected.push_back(record.id);
        chats[i % 2]->append(std::move(record));
    }
    KnownIds known;
    known.rebuild(chats);
    std::sort(expected.begin(), expected.end());
    expected.erase(std::unique(expected.begin(), expected.end()), expected.end());
    EXPECT_EQ(known.ids(kFolderSent), expected);
    for (const EntryId& id : expected) EXPECT_TRUE(known.holds(kFolderSent, id));
    EXPECT_TRUE(known.ids(kFolderInbox).empty());
}
