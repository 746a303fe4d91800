#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "chats/ChatCache.h"
#include "platform/Paths.h"
#include "support/FileSizeLimit.h"
#include "support/Files.h"
#include "support/LogCapture.h"
#include "support/TestDevice.h"

namespace {

using Bytes = std::vector<uint8_t>;
using ChatList = ChatCache::ChatList;

std::unique_ptr<Chat> make_chat(std::u16string name, std::u16string number,
                                std::vector<std::pair<int32_t, Bytes>> messages) {
    auto chat = std::make_unique<Chat>(ChatIdentity{name, number, correspondent_key(name, number)});
    for (auto& [folder, id] : messages) {
        SmsRecord record;
        record.folder = static_cast<FolderIndex>(folder);
        record.id = EntryId(id);
        chat->append(std::move(record));
    }
    return chat;
}

bool parse(const Bytes& data, ChatList& out) {
    return ChatCache::parse(data.data(), data.size(), out);
}

// A 32-bit value as the file stores it, least significant byte first.
Bytes u32(uint32_t v) {
    return {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
            static_cast<uint8_t>(v >> 24)};
}

// A file of version 1 and the given bytes.
Bytes file_of(std::initializer_list<Bytes> parts) {
    Bytes out = {1, 0, 0, 0};
    for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

const Bytes kName = {1, 'A', 0};
const Bytes kNumber = {3, '1', 0, '2', 0, '3', 0};
// Unread 0, one message: Inbox, id 42.
const Bytes kOneMessage = {0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0x42};

class ChatCacheTest : public ::testing::Test {
protected:
    Bytes saved(const ChatList& chats) {
        EXPECT_TRUE(ChatCache::save(path, chats));
        return on_disk();
    }
    Bytes on_disk() const {
        const std::string bytes = read_file(paths::native(path));
        return Bytes(bytes.begin(), bytes.end());
    }
    TestDevice device;
    std::u16string path = ChatCache::default_path();
};

}  // namespace

TEST_F(ChatCacheTest, WritesChatsWithMessagesByteForByteAndReadsThemBack) {
    ChatList chats;
    chats.push_back(make_chat(u"Al", u"123", {{0, {0xAA}}, {3, {0x01, 0x02}}}));
    chats[0]->unread = 2;
    chats.push_back(make_chat(u"Nobody", u"555", {}));
    EXPECT_EQ(saved(chats), file_of({{2, 'A', 0, 'l', 0},
                                     {3, '1', 0, '2', 0, '3', 0},
                                     {2, 0, 0, 0},
                                     {2, 0, 0, 0},
                                     {0, 0, 1, 0, 0xAA},
                                     {3, 0, 2, 0, 0x01, 0x02}}));
    ChatList back;
    ASSERT_TRUE(ChatCache::read(path, back));
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0]->key, u"123");
    EXPECT_EQ(back[0]->unread, 2);
    EXPECT_EQ(back[0]->messages()[1].id, EntryId(Bytes{1, 2}));
    EXPECT_EQ(back[0]->outbox_count(), 1u);

    // Only empty chats: the version alone, which loads as no chats.
    chats.erase(chats.begin());
    EXPECT_EQ(saved(chats), file_of({}));
    EXPECT_TRUE(ChatCache::read(path, back));
    // No chats at all: no file.
    EXPECT_TRUE(ChatCache::save(path, ChatList{}));
    EXPECT_FALSE(std::filesystem::exists(paths::native(path)));
    EXPECT_FALSE(ChatCache::read(path, back));
}

TEST_F(ChatCacheTest, PrefixesLongStringsWithTheirByteCount) {
    for (auto [length, prefix] :
         std::vector<std::pair<size_t, Bytes>>{{127, {0x7F}},
                                               {128, {0xFE, 0x80, 0x00}},
                                               {200, {0xFE, 0xC8, 0x00}},
                                               {40000, {0xFD, 0x40, 0x9C, 0x00}}}) {
        ChatList chats, back;
        chats.push_back(make_chat(std::u16string(length, u'n'), u"5550100", {{0, {7}}}));
        Bytes data = saved(chats);
        EXPECT_EQ(Bytes(data.begin() + 4, data.begin() + 4 + static_cast<long>(prefix.size())),
                  prefix)
            << length;
        ASSERT_TRUE(parse(data, back));
        EXPECT_EQ(back[0]->name.size(), length);
    }
}

TEST_F(ChatCacheTest, RejectsTheWholeFileForOneBadValue) {
    ChatList out;
    ASSERT_TRUE(parse(file_of({kName, kNumber, kOneMessage}), out));
    Bytes folder4 = kOneMessage, negative_unread = kOneMessage;
    folder4[8] = 4;
    negative_unread[3] = 0xFF;
    for (const Bytes& bad :
         {folder4, negative_unread, Bytes{0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0} /* id length 0 */}) {
        ChatList none;
        EXPECT_FALSE(parse(file_of({kName, kNumber, kOneMessage, kName, kNumber, bad}), none));
        EXPECT_TRUE(none.empty()) << "a good chat before the bad one is not kept either";
    }
    EXPECT_FALSE(parse({2, 0, 0, 0}, out));
}

TEST_F(ChatCacheTest, KeepsLongChatsAndRefusesCountsBeyondWhatTheFileHolds) {
    std::vector<std::pair<int32_t, Bytes>> many;
    for (int i = 0; i < 30000; ++i)
        many.push_back({1, {static_cast<uint8_t>(i), static_cast<uint8_t>(i >> 8)}});
    ChatList chats, back;
    chats.push_back(make_chat(u"A", u"111", many));
    ASSERT_TRUE(parse(saved(chats), back));
    EXPECT_EQ(back[0]->size(), 30000u);

    // A count the rest of the file cannot hold, or beyond any chat, is
    // refused before anything is made for it.
    LogCapture log;
    for (uint32_t count : {10'000'000u, 10'000'001u, 0x7FFFFFFFu}) {
        ChatList none;
        EXPECT_FALSE(
            parse(file_of({kName, kNumber, u32(0), u32(count), {0, 0, 1, 0, 0x42}}), none));
        EXPECT_TRUE(log.has("load_cache counter:" + std::to_string(count) + "\n"));
    }
}

TEST_F(ChatCacheTest, KeysADigitlessNumberByItselfAsANewChatWouldBe) {
    const Bytes bank = {4, 'B', 0, 'A', 0, 'N', 0, 'K', 0};
    ChatList out;
    ASSERT_TRUE(parse(file_of({kName, bank, kOneMessage}), out));
    ASSERT_TRUE(parse(file_of({{0}, bank, kOneMessage}), out));
    ASSERT_TRUE(parse(file_of({kName, {0}, kOneMessage}), out));
    EXPECT_EQ(out[0]->key, u"BANK");
    EXPECT_EQ(out[1]->key, u"BANK");
    EXPECT_EQ(out[2]->key, u"A");
    EXPECT_FALSE(parse(file_of({{0}, {0}, kOneMessage}), out));
}

TEST_F(ChatCacheTest, NeverReadsOutsideTheFileWhateverItHolds) {
    ChatList chats;
    chats.push_back(make_chat(std::u16string(300, u'x'), u"+79123456789", {{0, {1, 2}}, {3, {3}}}));
    chats.push_back(make_chat(u"B", u"555", {{1, {5, 6, 7}}}));
    const Bytes good = saved(chats);
    size_t accepted = 0;
    for (size_t size = 0; size < good.size(); ++size) {
        ChatList out;
        accepted += parse(Bytes(good.begin(), good.begin() + static_cast<long>(size)), out);
    }
    EXPECT_EQ(accepted, 2u) << "only the cuts after the version and after the first chat";

    // Lengths beyond the file, negative, zero after -k, or wider than 8 bytes.
    for (const Bytes& prefix :
         {Bytes{0xFC, 0xFF, 0xFF, 0xFF, 0x7F}, Bytes{0xFF, 0x80}, Bytes{0xFE, 0, 0}, Bytes{0x80},
          Bytes{0xF7, 1, 0, 0, 0, 0, 0, 0, 0, 0}}) {
        ChatList out;
        EXPECT_FALSE(parse(file_of({prefix, {0}, kOneMessage}), out));
    }
}

TEST_F(ChatCacheTest, CachesEarlierBuildsWroteStillLoad) {
    // The fuzzer's seeds are caches the program wrote: a change of the format
    // that would cost every user their cache shows here.
    size_t seeds = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(QUILLMO_CHAT_CACHE_FUZZ_CORPUS_DIR)) {
        ChatList chats;
        EXPECT_TRUE(ChatCache::read(entry.path().u16string(), chats)) << entry.path();
        EXPECT_FALSE(chats.empty()) << entry.path();
        ++seeds;
    }
    EXPECT_GE(seeds, 3u);
}

TEST_F(ChatCacheTest, ASaveThatFailsKeepsTheOldCacheAndLeavesNoTemporaryFileAndAFifoIsNeverRead) {
    ChatList chats;
    chats.push_back(make_chat(u"A", u"111", {{0, {1}}}));
    const Bytes old = saved(chats);
    // Ids of 32,000 bytes: 1,100 of them pass the reader's size limit.
    std::vector<std::pair<int32_t, Bytes>> huge;
    for (int i = 0; i < 1100; ++i) huge.push_back({0, Bytes(32000, static_cast<uint8_t>(i))});
    chats.push_back(make_chat(u"B", u"222", huge));
    LogCapture log;
    EXPECT_FALSE(ChatCache::save(path, chats));
    EXPECT_TRUE(log.has("save_cache: too large\n"));
    EXPECT_EQ(on_disk(), old);

    // A file-size limit fails the writes as a full disk would, even for root.
    chats[1] = make_chat(std::u16string(5000, u'x'), u"222", {{0, {2}}});
    {
        FileSizeLimit limit(1000);
        EXPECT_FALSE(ChatCache::save(path, chats));
    }
    EXPECT_EQ(on_disk(), old);
    for (const auto& entry : std::filesystem::directory_iterator(device.device()))
        EXPECT_FALSE(contains(entry.path().filename().string(), ".tmp-"));

    std::filesystem::remove(paths::native(path));
    ASSERT_EQ(mkfifo(paths::native(path).c_str(), 0600), 0);
    ChatList none;
    EXPECT_FALSE(ChatCache::read(path, none));
    EXPECT_TRUE(log.has("load_cache: not a regular file\n"));
}
