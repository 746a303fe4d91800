#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>

#include "platform/Paths.h"
#include "platform/store/StoreDatabase.h"
#include "support/Files.h"
#include "support/TestDevice.h"
#include "support/UnreadCounter.h"

namespace {

StoredMessage incoming(std::u16string from, std::u16string body, bool read = false) {
    StoredMessage m;
    m.folder = StoreFolderKind::Inbox;
    m.flags = read ? 0x01 : 0;
    m.sender_number = std::move(from);
    m.body = std::move(body);
    m.delivery_time = 134000000000000000LL;
    return m;
}

std::shared_ptr<StoreDatabase> open_store() {
    std::string error;
    auto db = StoreDatabase::open(paths::device_folder_utf8(), &error);
    EXPECT_TRUE(db) << error;
    return db;
}

TEST(StoreDatabase, FilesListsAndChangesMessagesKeepingTheUnreadCounter) {
    TestDevice device;
    auto db = open_store();
    auto a = db->add_message(incoming(u"+79123456789", u"hello"));
    auto b = db->add_message(incoming(u"BANK", u"code 1234", true));
    ASSERT_FALSE(a.empty());
    EXPECT_LT(a, b);  // ids order like arrival
    EXPECT_EQ(unread_counter(), 1u);

    auto inbox = db->list_messages(StoreFolderKind::Inbox).value();
    ASSERT_EQ(inbox.size(), 2u);
    EXPECT_EQ(inbox[0].entry_id, a);
    EXPECT_EQ(inbox[0].body, u"hello");
    EXPECT_EQ(inbox[1].sender_number, u"BANK");

    EXPECT_TRUE(db->set_read(a, true));
    EXPECT_EQ(unread_counter(), 0u);
    EXPECT_TRUE(db->set_read(a, false));
    EXPECT_EQ(unread_counter(), 1u);
    EXPECT_TRUE(db->delete_message(a));
    EXPECT_FALSE(db->delete_message(a));
    EXPECT_FALSE(db->find_message(a));
    EXPECT_EQ(unread_counter(), 0u);
    EXPECT_FALSE(db->find_message({1, 2, 3}));
}

TEST(StoreDatabase, ContentsTableReadsAnyWindowInOrder) {
    TestDevice device;
    auto db = open_store();
    std::vector<StoredMessage> many;
    for (int i = 0; i < 2500; ++i)
        many.push_back(incoming(u"1", std::u16string(1, u'a' + i % 26), true));
    ASSERT_TRUE(db->add_messages(many));
    auto all = db->list_messages(StoreFolderKind::Inbox).value();
    ASSERT_EQ(all.size(), 2500u);
    int64_t folder = db->folder_row(
        db->stores()[1].entry_id, db->store_folder_property(db->stores()[1].entry_id, 0x81060102));
    ASSERT_NE(folder, 0);
    uint32_t count = 0;
    int64_t version = 0;
    ASSERT_TRUE(db->folder_count(folder, count, version));
    EXPECT_EQ(count, 2500u);
    // From the start, on from there, near the end, and past the end.
    for (uint32_t first : {0u, 1000u, 2000u, 2490u, 2500u, 1200u}) {
        std::vector<StoreDatabase::Bytes> ids;
        ASSERT_TRUE(db->folder_entry_ids(folder, first, 1000, ids));
        ASSERT_EQ(ids.size(), std::min(1000u, 2500 - first)) << first;
        for (size_t i = 0; i < ids.size(); ++i)
            ASSERT_EQ(ids[i], all[first + i].entry_id) << first + i;
    }
    // A change between two reads is seen even when reading on.
    std::vector<StoreDatabase::Bytes> ids;
    ASSERT_TRUE(db->folder_entry_ids(folder, 0, 10, ids));
    ASSERT_TRUE(db->delete_message(all[5].entry_id));
    ASSERT_TRUE(db->folder_entry_ids(folder, 10, 10, ids));
    EXPECT_EQ(ids[0], all[11].entry_id);
}

TEST(StoreDatabase, ReadsAheadServingLongTextsWholeButNeverWhatItChangedItself) {
    TestDevice device;
    auto db = open_store();
    // More text than is held ahead: the fills stop early and read on later.
    std::vector<StoredMessage> messages;
    for (int i = 0; i < 12; ++i)
        messages.push_back(incoming(u"1", std::u16string(i % 3 ? 10 : kMaxBodyLength, u'a' + i)));
    ASSERT_TRUE(db->add_messages(messages));
    // One longer than anything read ahead, as a store from before the limit
    // on texts may hold: fills pass over it once they have met it.
    messages[7].body = std::u16string(400000, u'h');
    ASSERT_TRUE(
        db->db().exec("UPDATE messages SET subject = printf('%.400000c', 'h') WHERE id = 8"));
    auto all = db->list_messages(StoreFolderKind::Inbox).value();
    auto sms = db->stores()[1].entry_id;
    for (int pass = 0; pass < 3; ++pass) {
        for (size_t k = 0; k < all.size(); ++k) {
            size_t i = pass != 1 ? k : all.size() - 1 - k;  // in order, backwards, in order
            auto m = db->find_message_in_store(sms, all[i].entry_id);
            ASSERT_TRUE(m) << i;
            EXPECT_EQ(m->body, messages[i].body) << i;
        }
    }

    auto first = db->add_message(incoming(u"1", u"one"));
    auto second = db->add_message(incoming(u"1", u"two"));
    ASSERT_EQ(db->find_message_in_store(sms, first)->body, u"one");
    ASSERT_TRUE(db->set_read(second, true));
    auto read = db->find_message_in_store(sms, second);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->flags & 0x01, 0x01u);
    // A message of another store is not found through the SMS store, nor is a
    // deleted one.
    EXPECT_FALSE(db->find_message_in_store(db->stores()[0].entry_id, first));
    ASSERT_TRUE(db->delete_message(first));
    EXPECT_FALSE(db->find_message_in_store(sms, first));
}

TEST(StoreDatabase, RefusesATextLongerThanAnSmsCanCarry) {
    TestDevice device;
    auto db = open_store();
    EXPECT_FALSE(db->add_message(incoming(u"1", std::u16string(kMaxBodyLength, u'x'))).empty());
    EXPECT_TRUE(db->add_message(incoming(u"1", std::u16string(kMaxBodyLength + 1, u'x'))).empty());
    EXPECT_EQ(db->last_error(),
              "the message text is longer than 40000 characters, the most an SMS can carry");
    // All or nothing: one long text keeps the others out too.
    EXPECT_FALSE(db->add_messages(
        {incoming(u"2", u"short"), incoming(u"2", std::u16string(kMaxBodyLength + 1, u'x'))}));
    EXPECT_EQ(db->list_messages(StoreFolderKind::Inbox).value().size(), 1u);
}

TEST(StoreDatabase, ConcurrentWritersLoseNothingAndWaitForALockedStore) {
    TestDevice device;
    open_store();
    pid_t child = fork();
    if (child == 0) {
        // A process of its own with its own connection.
        auto db = StoreDatabase::open(paths::device_folder_utf8(), nullptr);
        int failures = 0;
        for (int i = 0; i < 100; ++i) failures += db->add_message(incoming(u"2", u"child")).empty();
        _exit(failures);
    }
    {
        auto db = open_store();
        // Hold the write lock from another connection for a while.
        auto blocker = SqliteDatabase::open(device.device().string() + "/store.db", nullptr);
        ASSERT_TRUE(blocker->begin());
        std::thread release([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            blocker->commit();
        });
        for (int i = 0; i < 100; ++i)
            ASSERT_FALSE(db->add_message(incoming(u"1", u"parent")).empty());
        release.join();
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(open_store()->list_messages(StoreFolderKind::Inbox).value().size(), 200u);
    EXPECT_EQ(unread_counter(), 200u);
}

// A store of the first version, whose messages have no service centre, is
// brought up to date when it is opened, and keeps its messages.
TEST(StoreDatabase, AFirstVersionStoreGainsTheServiceCentreAndKeepsItsMessages) {
    TestDevice device;
    {
        auto db = open_store();
        db->add_message(incoming(u"+79123456789", u"from before"));
        ASSERT_TRUE(db->db().exec("ALTER TABLE messages DROP COLUMN smsc"));
        ASSERT_TRUE(db->db().set_schema_version(1));
    }
    auto db = open_store();
    ASSERT_TRUE(db);
    StoredMessage m = incoming(u"+4915551234", u"with its centre");
    m.smsc = u"+491770610000";
    ASSERT_FALSE(db->add_message(m).empty());
    auto inbox = db->list_messages(StoreFolderKind::Inbox).value();
    ASSERT_EQ(inbox.size(), 2u);
    EXPECT_EQ(inbox[0].body, u"from before");
    EXPECT_EQ(inbox[0].smsc, u"");
    EXPECT_EQ(inbox[1].smsc, u"+491770610000");
}

TEST(StoreDatabase, RefusesAFileThatIsNoStore) {
    TestDevice device;
    write_file(device.device() / "store.db", std::string(4096, '\x5a'));
    std::string error;
    EXPECT_FALSE(StoreDatabase::open(paths::device_folder_utf8(), &error));
    EXPECT_FALSE(error.empty());
}

}  // namespace

TEST(StoreDatabase, ReceivedMessagesAreFiledOnceEvenWhenHandedOverAgain) {
    TestDevice device;
    auto db = open_store();
    StoredMessage m = incoming(u"+79123456789", u"hello");
    EXPECT_EQ(db->file_received(m), StoreDatabase::Arrival::Filed);
    EXPECT_EQ(db->file_received(m), StoreDatabase::Arrival::AlreadyFiled);
    EXPECT_EQ(unread_counter(), 1u);
    // Another time or another text is another message.
    m.delivery_time = *m.delivery_time + 1;
    EXPECT_EQ(db->file_received(m), StoreDatabase::Arrival::Filed);
    m.body = u"hello again";
    EXPECT_EQ(db->file_received(m), StoreDatabase::Arrival::Filed);
    EXPECT_EQ(db->list_messages(StoreFolderKind::Inbox)->size(), 3u);
    EXPECT_EQ(unread_counter(), 3u);
}

TEST(StoreDatabase, OutboxIsSentOneRecipientAtATimeAndRemembersEach) {
    TestDevice device;
    auto db = open_store();
    StoredMessage m;
    m.folder = StoreFolderKind::Outbox;
    m.flags = 0x28;
    m.submitted = true;
    m.body = u"hi";
    m.recipients = {{u"A", u"+100"}, {u"B", u"+200"}};
    auto id = db->add_message(m);
    m.submitted = false;  // still being written: not the transport's
    db->add_message(m);

    auto waiting = db->outbox_to_send(true).value();
    ASSERT_EQ(waiting.size(), 1u);
    ASSERT_EQ(waiting[0].sends.size(), 2u);
    EXPECT_EQ(waiting[0].sends[1].state, RecipientSendState::NotSent);
    ASSERT_TRUE(db->record_send(id, 0, {RecipientSendState::Sent, "/sms/1"}));
    ASSERT_TRUE(db->record_send(id, 1, {RecipientSendState::Sending, "/sms/2"}));

    // A failed message keeps its records and is taken again, from a new
    // connection as after a restart.
    ASSERT_TRUE(db->mark_failed(id));
    db = open_store();
    EXPECT_TRUE(db->outbox_to_send(false)->empty());
    waiting = db->outbox_to_send(true).value();
    ASSERT_EQ(waiting.size(), 1u);
    EXPECT_TRUE(waiting[0].message.failed);
    EXPECT_EQ(waiting[0].sends[0].state, RecipientSendState::Sent);
    EXPECT_EQ(waiting[0].sends[1].state, RecipientSendState::Sending);
    EXPECT_EQ(waiting[0].sends[1].modem_path, "/sms/2");

    ASSERT_TRUE(db->move_to_sent(id));
    EXPECT_TRUE(db->outbox_to_send(true)->empty());
    auto sent = db->find_message(id).value();
    EXPECT_EQ(sent.folder, StoreFolderKind::SentItems);
    EXPECT_EQ(sent.flags & 0x08, 0u);
    EXPECT_FALSE(sent.failed);
    EXPECT_FALSE(db->record_send({9, 9}, 0, {}));
}
