#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string_view>

#include "chats/ChatCache.h"
#include "chats/ChatModel.h"
#include "platform/LocalTime.h"
#include "platform/Paths.h"
#include "platform/Registry.h"
#include "platform/RegistryNotification.h"
#include "platform/store/MapiTypes.h"
#include "platform/store/StoreDatabase.h"
#include "support/DamageTable.h"
#include "support/Files.h"
#include "support/LogCapture.h"
#include "support/TestDevice.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Keys = std::vector<std::u16string>;
using Kinds = std::vector<std::string>;

class Recorder : public ChatObserver, public ProgressListener {
public:
    void on_chat_event(const ChatEvent& e) override {
        kinds.push_back(std::to_string(e.kind) + ":" + std::to_string(e.index));
        chats.push_back(e.chat);
        if (e.kind == ChatEvent::kMessageAdded) added.push_back(e.chat->messages()[e.index]);
    }
    void on_progress(double fraction) override { fractions.push_back(fraction); }
    Kinds kinds;
    std::vector<Chat*> chats;
    std::vector<SmsRecord> added;  // the records as kind 4 showed them
    std::vector<double> fractions;
};

class ChatModelTest : public ::testing::Test {
protected:
    ChatModelTest() : store(StoreDatabase::open(paths::device_folder_utf8(), nullptr)) {}

    // A message at minute m of a fixed day: incoming from one number, or
    // outgoing to the numbers.
    Bytes add(StoreFolderKind folder, std::vector<std::u16string> numbers, int minute,
              uint32_t flags = 0, std::u16string body = u"hi") {
        StoredMessage m;
        m.folder = folder;
        m.flags = flags;
        if (folder == StoreFolderKind::Inbox) {
            m.sender_number = numbers[0];
        } else {
            for (auto& n : numbers) m.recipients.push_back({u"", n});
            m.flags |= kMsgFlagFromMe | (folder == StoreFolderKind::Outbox ? kMsgFlagUnsent : 0);
            m.submitted = folder == StoreFolderKind::Outbox;
        }
        m.delivery_time = *local_time::parse_iso8601("2026-11-22T10:00:00") +
                          minute * 60 * local_time::kTicksPerSecond;
        m.body = std::move(body);
        return store->add_message(m);
    }
    Bytes deliver(std::u16string number, int minute, uint32_t flags = 0) {
        return add(StoreFolderKind::Inbox, {std::move(number)}, minute, flags);
    }
    // The model as the program runs it: made, then started.
    void start() {
        open_model();
        model->start();
    }
    // The program's start-up: started, then loaded.
    void run() {
        start();
        model->load(nullptr);
    }
    // The model as a listing tool runs it: made, never started.
    void open_model() {
        model.reset();
        model = std::make_unique<ChatModel>();
        subscription = model->add_observer(recorder);
    }
    Keys keys() const {
        Keys out;
        for (const auto& chat : model->chats()) out.push_back(chat->key);
        return out;
    }
    uint32_t unread_setting() {
        uint32_t value = 0xDEAD;
        registry::read_number(ChatModel::kSettingsKey, u"Unread", value);
        return value;
    }
    std::string cache_file() { return paths::native(ChatCache::default_path()); }

    TestDevice device;
    std::shared_ptr<StoreDatabase> store;
    Recorder recorder;
    std::unique_ptr<ChatModel> model;
    Subscription subscription;
};

}  // namespace

TEST_F(ChatModelTest, FirstUpdateGroupsEveryFolderByKeyNewestChatFirst) {
    LogCapture log;
    deliver(u"+7 (912) 345-67-89", 1);
    add(StoreFolderKind::SentItems, {u"89123456789"}, 2);
    deliver(u"0123", 0);
    deliver(u"123", 3, kMsgFlagRead);
    add(StoreFolderKind::Drafts, {u"BANK"}, -5);
    start();
    model->load(&recorder);

    EXPECT_EQ(keys(), (Keys{u"123", u"3456789", u"0123", u"BANK"}));
    EXPECT_TRUE(recorder.kinds.empty()) << "the start-up load tells no observer";
    const Chat& both = *model->chats()[1];
    ASSERT_EQ(both.size(), 2u);
    EXPECT_EQ(both.messages()[1].folder, kFolderSent);
    EXPECT_EQ(both.unread, 1);
    EXPECT_EQ(unread_setting(), 2u);
    // The newest unread incoming message waits for the alert, whole, until it
    // is handed over.
    std::unique_ptr<SmsRecord> pending = model->take_pending_message();
    ASSERT_NE(pending, nullptr);
    EXPECT_EQ(pending->sender().number, u"+7 (912) 345-67-89");
    EXPECT_EQ(model->pending_message(), nullptr);

    // Records keep only their ids until a form asks for them.
    for (const SmsRecord& record : both.messages()) EXPECT_FALSE(record.has_details());
    SmsRecord shown = both.messages()[0];
    EXPECT_TRUE(shown.body().empty());
    ASSERT_TRUE(model->load_sms(shown));
    EXPECT_EQ(shown.body(), u"hi");
    EXPECT_FALSE(shown.time_text().empty());
    EXPECT_FALSE(shown.date_text().empty());

    EXPECT_EQ(recorder.fractions[2], 2 / 15.0);
    EXPECT_TRUE(std::is_sorted(recorder.fractions.begin(), recorder.fractions.end()));
    EXPECT_LE(recorder.fractions.back(), 1.0);
    for (const char* line :
         {"update_chats 1 scan 3 folders time:", " scan outbox size:0 time:",
          " read sms id_pul_size:5 sms_pul_size:5 time:", " fill chat_pul time:",
          "save_cache success:4 chats\n", " modify chats time:", "update_chats time:"})
        EXPECT_TRUE(log.has(line));
}

TEST_F(ChatModelTest, ADraftForNobodyIsNotFiledAndNotReadAgain) {
    add(StoreFolderKind::Drafts, {}, 1);
    deliver(u"111", 2);
    run();
    EXPECT_EQ(keys(), (Keys{u"111"}));
    LogCapture log;
    add(StoreFolderKind::Drafts, {}, 3);
    deliver(u"222", 4);
    EXPECT_TRUE(model->update_chats(true, nullptr));
    EXPECT_FALSE(model->update_chats(true, nullptr));
    EXPECT_EQ(keys(), (Keys{u"222", u"111"}));
    EXPECT_TRUE(log.has(" no correspondent2"));
    EXPECT_FALSE(log.has("can't read"));
    EXPECT_FALSE(log.has("reloaded"));
}

TEST_F(ChatModelTest, APollMovesTouchedChatsUpAndOnlyChangesRewriteTheUnreadTotal) {
    Bytes first = deliver(u"111", 1);
    deliver(u"222", 2);
    deliver(u"333", 3);
    run();
    Bytes second = deliver(u"111", 10);
    deliver(u"444", 11);
    model->set_alerts(false);
    ASSERT_TRUE(model->update_chats(true, nullptr));
    EXPECT_EQ(model->pending_message(), nullptr) << "alerts are off";
    EXPECT_EQ(keys(), (Keys{u"444", u"111", u"333", u"222"}));
    // 111 leaves the list (3 at 2) and gets its message (4 at 1); 444 is new;
    // both go to the top.
    EXPECT_EQ(recorder.kinds, (Kinds{"3:2", "4:1", "4:0", "1:0", "1:1"}));
    EXPECT_EQ(recorder.chats[1], model->chats()[1].get());
    EXPECT_EQ(unread_setting(), 5u);

    registry::delete_value(ChatModel::kSettingsKey, u"Unread");
    std::filesystem::remove(cache_file());
    recorder.kinds.clear();
    EXPECT_FALSE(model->update_chats(true, nullptr));
    EXPECT_TRUE(recorder.kinds.empty());
    EXPECT_EQ(unread_setting(), 0xDEADu);
    EXPECT_FALSE(std::filesystem::exists(cache_file()));

    // Marking a chat read and deleting one write it.
    Chat& chat = *model->find_chat(u"111");
    EXPECT_EQ(chat.unread, 2);
    ASSERT_TRUE(model->load_sms(chat.message(chat.size() - 1)));
    model->mark_chat_read(chat);
    EXPECT_EQ(chat.unread, 0);
    EXPECT_FALSE(chat.message(chat.size() - 1).unread()) << "a record read before shows it too";
    EXPECT_TRUE(store->find_message(first)->flags & kMsgFlagRead);
    EXPECT_TRUE(store->find_message(second)->flags & kMsgFlagRead);
    EXPECT_EQ(unread_setting(), 3u);
    model->delete_chat(model->find_chat(u"222"));
    EXPECT_EQ(recorder.kinds, (Kinds{"3:3"}));
    EXPECT_EQ(unread_setting(), 2u);
    EXPECT_EQ(store->list_messages(StoreFolderKind::Inbox)->size(), 4u);
}

TEST_F(ChatModelTest, AMessageWaitsInItsChatUntilItLeavesTheOutboxAndReappearsFromSentItems) {
    start();
    Bytes id = add(StoreFolderKind::Outbox, {u"+15550100"}, 1);
    ASSERT_TRUE(model->update_chats(true, nullptr));
    Chat* chat = model->chats()[0].get();
    ASSERT_EQ(chat->size(), 1u);
    EXPECT_EQ(chat->outbox_count(), 1u);
    EXPECT_FALSE(model->update_chats(true, nullptr)) << "a waiting message is no news";

    // A form dropped the record while the message stayed in the Outbox: one
    // rebuild of the manager reads it again.
    LogCapture log;
    chat->erase(0);
    ASSERT_TRUE(model->update_chats(true, nullptr));
    EXPECT_EQ(chat->outbox_count(), 1u);
    EXPECT_TRUE(log.has(" sms_manager reloaded because outbox failed\n"));
    EXPECT_FALSE(model->update_chats(true, nullptr));

    recorder.kinds.clear();
    ASSERT_TRUE(store->transmit({}));
    ASSERT_TRUE(model->update_chats(true, nullptr));
    EXPECT_EQ(recorder.kinds, (Kinds{"6:0", "3:0", "4:0", "1:0"}));
    ASSERT_EQ(chat->size(), 1u);
    EXPECT_EQ(chat->messages()[0].folder, kFolderSent);
    EXPECT_EQ(chat->messages()[0].id, EntryId(id));
    EXPECT_EQ(chat->outbox_count(), 0u);
}

TEST_F(ChatModelTest, ReportsAndSeveralRecipientsFindTheirChats) {
    add(StoreFolderKind::SentItems, {u"+7 912 345 67 89", u"555-0100"}, 1);
    StoredMessage report;
    report.sender_number = u"Center";
    report.message_class = u"REPORT.IPM.SMStext.DR";
    report.body = u"Message to 8 912 345-67-89 delivered 22.11.2026";
    report.delivery_time = local_time::parse_iso8601("2026-11-22T10:02:00");
    store->add_message(report);
    start();
    model->update_chats(true, nullptr);

    EXPECT_EQ(keys(), (Keys{u"3456789", u"5550100"}));
    EXPECT_EQ(model->chats()[0]->size(), 2u);
    ASSERT_EQ(recorder.added.size(), 3u);  // in record order: two copies, then the report
    EXPECT_EQ(recorder.added[0].recipients().size(), 2u) << "the first copy keeps every recipient";
    EXPECT_EQ(recorder.added[1].recipients(), (std::vector<Recipient>{{u"", u"555-0100"}}));
    EXPECT_EQ(recorder.added[2].report, ReportKind::Delivered);
    EXPECT_EQ(recorder.chats[2], model->chats()[0].get());

    // Deleting the message from one chat deletes the one store message.
    EXPECT_TRUE(model->delete_message(model->chats()[1]->messages()[0]));
    EXPECT_TRUE(store->list_messages(StoreFolderKind::SentItems).value().empty());
}

TEST_F(ChatModelTest, StartsFromTheCacheRebuildsABrokenOneAndKeepsItsChatsOverADamagedStore) {
    deliver(u"111", 1);
    deliver(u"222", 2);
    run();
    LogCapture log;
    start();
    EXPECT_EQ(keys(), (Keys{u"222", u"111"}));
    EXPECT_FALSE(model->update_chats(false, nullptr)) << "the cache named every message";
    EXPECT_TRUE(log.has("load_cache success:2 chats time:"));

    model.reset();
    std::filesystem::resize_file(cache_file(), 10);
    start();
    EXPECT_TRUE(model->chats().empty());
    EXPECT_TRUE(log.has("load_cache failed\n"));
    EXPECT_TRUE(model->update_chats(false, nullptr));
    EXPECT_EQ(keys(), (Keys{u"222", u"111"}));

    model.reset();
    store.reset();
    for (const char* suffix : {"", "-wal", "-shm"})
        std::filesystem::remove(device.device() / (std::string("store.db") + suffix));
    write_file(device.device() / "store.db", std::string(8192, '\x7f'));
    start();
    EXPECT_FALSE(model->update_chats(true, nullptr));
    EXPECT_EQ(keys(), (Keys{u"222", u"111"}));
    SmsRecord record = model->chats()[0]->messages()[0];
    EXPECT_FALSE(model->load_sms(record));
    EXPECT_TRUE(log.has("MAPILogonEx failed"));
    EXPECT_TRUE(log.has("SMS store not found\n"));
    // The damaged file is left as it was, for the user to rescue.
    EXPECT_EQ(std::filesystem::file_size(device.device() / "store.db"), 8192u);
}

TEST_F(ChatModelTest, OnlyAStartedModelWritesSettingsRequestUnreadTotalAndCache) {
    const char16_t kInbox[] = u"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Inbox\\Settings";
    const char16_t kNotifications[] =
        u"HKEY_CURRENT_USER\\ControlPanel\\Notifications\\{A877D65B-239C-47a7-9304-0D347F580408}";
    registry::write_number(kNotifications, u"Options", 0x1F);
    registry::write_number(ChatModel::kSettingsKey, u"Alerts", 0);
    deliver(u"111", 1);
    uint32_t sent = 0, options = 0;

    // A listing reads the chats and writes nothing, also when it ends.
    open_model();
    model->load(nullptr);
    EXPECT_EQ(keys(), (Keys{u"111"}));
    model.reset();
    EXPECT_FALSE(registry::read_number(kInbox, u"SMSNoSentMsg", sent));
    EXPECT_TRUE(registry::read_number(kNotifications, u"Options", options) && options == 0x1F);
    EXPECT_TRUE(registry::notification_requests().empty());
    EXPECT_EQ(unread_setting(), 0xDEADu);
    EXPECT_FALSE(std::filesystem::exists(cache_file()));

    // The program renews the settings and the request, writes the total and
    // the cache, and with alerts off withdraws the request when it ends.
    start();
    EXPECT_TRUE(registry::read_number(kInbox, u"SMSNoSentMsg", sent) && sent == 1);
    EXPECT_TRUE(registry::read_number(kNotifications, u"Options", options) && options == 0x17);
    EXPECT_EQ(registry::notification_requests().size(), 1u);
    model->load(nullptr);
    EXPECT_EQ(unread_setting(), 1u);
    EXPECT_TRUE(std::filesystem::exists(device.device() / "cache"));
    model.reset();
    EXPECT_FALSE(registry::read_number(kInbox, u"SMSNoSentMsg", sent));
    EXPECT_TRUE(registry::notification_requests().empty());
}

TEST_F(ChatModelTest, MessagesThatLeaveTheStoreLeaveTheirChatsAndTheirUnreadCounts) {
    Bytes old_unread = deliver(u"111", 1);
    deliver(u"111", 2, kMsgFlagRead);
    Bytes newest_unread = deliver(u"111", 3);
    Bytes lone = deliver(u"222", 4);
    Bytes sent = add(StoreFolderKind::SentItems, {u"333"}, 5);
    Bytes draft = add(StoreFolderKind::Drafts, {u"444"}, 6);
    deliver(u"444", 7, kMsgFlagRead);
    run();
    EXPECT_EQ(keys(), (Keys{u"444", u"333", u"222", u"111"}));
    EXPECT_EQ(model->find_chat(u"111")->unread, 2);
    EXPECT_EQ(unread_setting(), 3u);

    // Another program deletes messages from every folder.
    for (const Bytes& id : {newest_unread, lone, sent, draft})
        ASSERT_TRUE(store->delete_message(id));
    model->select_chat(u"333");  // the chat form shows it: it stays, empty
    ASSERT_TRUE(model->update_chats(true, nullptr));
    EXPECT_EQ(recorder.kinds, (Kinds{"6:0", "6:0", "6:0", "6:2", "3:2"}));
    EXPECT_EQ(keys(), (Keys{u"444", u"333", u"111"}));
    EXPECT_TRUE(model->find_chat(u"333")->empty());
    EXPECT_EQ(model->find_chat(u"444")->size(), 1u);
    EXPECT_EQ(model->find_chat(u"111")->size(), 2u);
    EXPECT_EQ(model->find_chat(u"111")->unread, 1) << "the unread message left, the other stays";
    EXPECT_EQ(unread_setting(), 1u);
    EXPECT_FALSE(model->update_chats(true, nullptr)) << "the idle poll is quiet again";

    // Deleted while the program was not running: the cache still names it.
    model.reset();
    ASSERT_TRUE(store->delete_message(old_unread));
    start();
    EXPECT_EQ(model->find_chat(u"111")->size(), 2u);
    ASSERT_TRUE(model->update_chats(false, nullptr));
    EXPECT_EQ(model->find_chat(u"111")->size(), 1u);
    EXPECT_EQ(model->find_chat(u"111")->unread, 0);
    EXPECT_EQ(unread_setting(), 0u);
    model.reset();
    start();
    EXPECT_EQ(keys(), (Keys{u"444", u"111"})) << "the cache follows";
}

TEST_F(ChatModelTest, AMessageThatCannotBeReadDoesNotMakeEveryPollWalkItsFolder) {
    deliver(u"999", 0);
    for (int minute = 1; minute <= 25; ++minute) deliver(u"111", minute);
    // The oldest message loses its times, which every read needs.
    ASSERT_TRUE(
        store->db().exec("UPDATE messages SET delivery_time = NULL, modification_time = NULL "
                         "WHERE id = (SELECT MIN(id) FROM messages)"));
    LogCapture log;
    run();
    EXPECT_EQ(keys(), (Keys{u"111"}));
    EXPECT_TRUE(log.has(" can't read0"));

    log.forget();
    EXPECT_FALSE(model->update_chats(true, nullptr));
    deliver(u"222", 26);
    EXPECT_TRUE(model->update_chats(true, nullptr));
    EXPECT_FALSE(model->update_chats(true, nullptr));
    EXPECT_FALSE(log.has("can't read"));
    EXPECT_FALSE(log.has("reloaded"));
}

namespace {

using Ids = std::vector<std::string>;

// Every message id the chats hold, and every id of the store's four folders;
// both in hexadecimal, sorted.
Ids chat_ids(const ChatModel& model) {
    Ids out;
    for (const auto& chat : model.chats())
        for (const SmsRecord& record : chat->messages()) out.push_back(record.id.hex());
    std::sort(out.begin(), out.end());
    return out;
}

Ids store_ids(StoreDatabase& store) {
    Ids out;
    std::optional<std::vector<StoredMessage>> listed = store.list_messages(std::nullopt);
    for (const StoredMessage& m : listed.value()) out.push_back(EntryId(m.entry_id).hex());
    std::sort(out.begin(), out.end());
    return out;
}

// Acts as another program would while the chat model walks a folder: once,
// at the first row count read after a batch of entry ids (the count that
// begins the next batch), by a store connection opened while it lives.
class BetweenBatches {
public:
    explicit BetweenBatches(std::function<void()> action) {
        state() = {std::move(action), false, false};
        sqlite3_auto_extension(reinterpret_cast<void (*)()>(&install));
    }
    ~BetweenBatches() {
        sqlite3_cancel_auto_extension(reinterpret_cast<void (*)()>(&install));
        state().action = nullptr;
    }
    bool acted() const { return state().acted; }

private:
    struct State {
        std::function<void()> action;
        bool batch_read = false;
        bool acted = false;
    };
    static State& state() {
        static State s;
        return s;
    }
    static int install(sqlite3* db, char**, const sqlite3_api_routines*) {
        const char* name = sqlite3_db_filename(db, "main");
        if (name != nullptr && std::string_view(name).ends_with("/store.db"))
            sqlite3_trace_v2(db, SQLITE_TRACE_STMT, &trace, nullptr);
        return SQLITE_OK;
    }
    static int trace(unsigned, void*, void*, void* sql) {
        State& s = state();
        std::string_view text(static_cast<const char*>(sql));
        if (text.find("FROM messages WHERE folder_id") != std::string_view::npos) {
            s.batch_read = true;
        } else if (s.batch_read && !s.acted && s.action &&
                   text.starts_with("SELECT row_count, version FROM folders")) {
            s.acted = true;
            s.action();
        }
        return 0;
    }
};

}  // namespace

TEST_F(ChatModelTest, AWalkDuringWhichTheStoreFailsDropsNothingAndTheNextGoodPollIsExact) {
    Bytes first = deliver(u"111", 1);
    deliver(u"222", 2);
    add(StoreFolderKind::Outbox, {u"333"}, 3);
    run();
    const Ids filed = chat_ids(*model);

    // The folders' table goes bad under the running program: every row count
    // fails, and reads as 0.
    std::filesystem::path file = device.device() / "store.db";
    ASSERT_TRUE(store->db().exec("PRAGMA wal_checkpoint(TRUNCATE)"));
    const std::string good = read_file(file);
    damage_table(file.string(), "folders");
    uint64_t errors = sms_manager::store_errors();
    LogCapture log;
    EXPECT_FALSE(model->update_chats(true, nullptr));
    ASSERT_GT(sms_manager::store_errors(), errors) << "the damage was not read";
    EXPECT_EQ(chat_ids(*model), filed) << "the Outbox message stays too";
    EXPECT_TRUE(recorder.kinds.empty());
    EXPECT_TRUE(log.has(" walk failed0"));
    EXPECT_TRUE(log.has(" walk failed3"));
    EXPECT_FALSE(log.has("reloaded")) << "the same manager tries again";

    // The disk comes back, written in place so that the open connections read
    // it; meanwhile a message left and one came.
    std::fstream(file, std::ios::in | std::ios::out | std::ios::binary)
        .write(good.data(), std::ssize(good));
    ASSERT_TRUE(store->delete_message(first));
    deliver(u"444", 4);
    EXPECT_TRUE(model->update_chats(true, nullptr));
    EXPECT_EQ(chat_ids(*model), store_ids(*store));
    EXPECT_EQ(keys(), (Keys{u"444", u"333", u"222"}));
}

TEST_F(ChatModelTest, AFolderTheStoreCannotOpenKeepsItsMessagesUntilItOpensAgain) {
    Bytes first = deliver(u"111", 1);
    deliver(u"222", 2);
    run();
    model.reset();

    // The store no longer names its Inbox: a new manager cannot open it.
    const std::string inbox_tag = std::to_string(mapi::PR_CE_IPM_INBOX_ENTRYID);
    ASSERT_TRUE(store->db().exec("UPDATE store_props SET tag = 0 WHERE tag = " + inbox_tag));
    LogCapture log;
    start();
    EXPECT_FALSE(model->update_chats(true, nullptr));
    EXPECT_EQ(keys(), (Keys{u"222", u"111"}));
    EXPECT_TRUE(log.has(" sms_manager reloaded because a folder was not open\n walk failed0"));

    ASSERT_TRUE(store->db().exec("UPDATE store_props SET tag = " + inbox_tag + " WHERE tag = 0"));
    ASSERT_TRUE(store->delete_message(first));
    deliver(u"333", 3);
    EXPECT_TRUE(model->update_chats(true, nullptr));
    EXPECT_EQ(chat_ids(*model), store_ids(*store));
    EXPECT_EQ(keys(), (Keys{u"333", u"222"}));
}

TEST_F(ChatModelTest, AWalkReadsOneStateOfTheStoreWhateverChangesBetweenItsBatches) {
    // Over a thousand rows: the Inbox is read in two batches.
    std::vector<StoredMessage> history(1100);
    for (size_t i = 0; i < history.size(); ++i) {
        history[i].sender_number = u"555010" + std::u16string(1, u'0' + i % 10);
        history[i].delivery_time = *local_time::parse_iso8601("2026-11-22T09:00:00") +
                                   static_cast<int64_t>(i) * local_time::kTicksPerSecond;
    }
    ASSERT_TRUE(store->add_messages(history));
    run();
    model.reset();
    const Ids known = store_ids(*store);
    std::vector<StoredMessage> inbox = store->list_messages(StoreFolderKind::Inbox).value();

    // Another program deletes a row of the first batch and adds one, so the
    // row count stays, while the first update from the cache walks the Inbox.
    BetweenBatches between([&] {
        EXPECT_TRUE(store->delete_message(inbox[10].entry_id));
        deliver(u"5550100", 2000);
    });
    start();
    EXPECT_FALSE(model->update_chats(true, nullptr));
    ASSERT_TRUE(between.acted());
    EXPECT_EQ(chat_ids(*model), known) << "the walk saw the Inbox as it was when it began";

    ASSERT_TRUE(model->update_chats(true, nullptr));
    EXPECT_EQ(chat_ids(*model), store_ids(*store));
    EXPECT_EQ(recorder.kinds.front(), "6:1") << "the deleted message leaves its chat";
}
