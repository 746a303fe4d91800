#include <gtest/gtest.h>

#include "messaging/sms_manager.h"
#include "platform/LocalTime.h"
#include "platform/Paths.h"
#include "platform/Registry.h"
#include "platform/RegistryNotification.h"
#include "platform/store/StoreDatabase.h"
#include "support/LogCapture.h"
#include "support/StartRecorder.h"
#include "support/TestDevice.h"

namespace {

class SmsManagerTest : public ::testing::Test {
protected:
    SmsManagerTest() : store_(StoreDatabase::open(paths::device_folder_utf8(), nullptr)) {}

    EntryId add(StoredMessage m) { return EntryId(store_->add_message(m)); }
    static SmsRecord read(sms_manager& manager, EntryId id) {
        SmsRecord r;
        r.id = id;
        EXPECT_TRUE(manager.read_sms(r));
        return r;
    }
    static StoredMessage incoming(std::u16string from, std::u16string body) {
        StoredMessage m;
        m.sender_name = u"Ann";
        m.sender_number = std::move(from);
        m.body = std::move(body);
        m.delivery_time = local_time::from_unix_ms(1768478400000);  // 2026-01-15T12:00:00Z
        return m;
    }

    TestDevice device_;
    std::shared_ptr<StoreDatabase> store_;
};

TEST_F(SmsManagerTest, ReadsIncomingMessagesWithLocalTimeAndPlainLineEnds) {
    EntryId winter = add(incoming(u"+79123456789", u"line one\r\nline two"));
    StoredMessage summer_message = incoming(u"+79123456789", u"summer");
    summer_message.delivery_time.reset();
    summer_message.modification_time = local_time::from_unix_ms(1784116800000);  // July, 12:00Z
    EntryId summer = add(summer_message);

    sms_manager manager;
    ASSERT_TRUE(manager.has_store());
    EXPECT_EQ(manager.get_length(kFolderInbox), 2u);
    EXPECT_EQ(manager.get_id(kFolderInbox, 0), winter);
    EXPECT_EQ(manager.get_id(kFolderInbox, 1), summer);

    SmsRecord r = read(manager, winter);
    EXPECT_EQ(r.body(), u"line one\nline two");
    EXPECT_EQ(r.sender(), (Recipient{u"Ann", u"+79123456789"}));
    EXPECT_TRUE(r.incoming());
    EXPECT_TRUE(r.unread());
    EXPECT_EQ(local_time::to_iso8601(r.time), "2026-01-15T13:00:00");  // CET

    // Falls back to the modification time, converted with summer time.
    EXPECT_EQ(local_time::to_iso8601(read(manager, summer).time), "2026-07-15T14:00:00");
}

TEST_F(SmsManagerTest, ReadsRecipientsAndReportKinds) {
    StoredMessage sent;
    sent.folder = StoreFolderKind::SentItems;
    sent.flags = 0x21;
    sent.recipients = {{u"Ann", u"111"}, {u"", u"222"}};
    sent.body = u"to two";
    sent.delivery_time = 1;
    EntryId two = add(sent);
    sent.recipients.clear();
    EntryId none = add(sent);
    StoredMessage dr = incoming(u"+79123456789", u"Message to +79123456789 delivered");
    dr.message_class = u"REPORT.IPM.SMStext.DR";
    EntryId delivered = add(dr);
    dr.message_class = u"REPORT.IPM.SMStext.ndr";
    EntryId other_case = add(dr);

    sms_manager manager;
    SmsRecord r = read(manager, two);
    EXPECT_TRUE(r.outgoing());
    ASSERT_EQ(r.recipients().size(), 2u);
    EXPECT_EQ(r.correspondent(), (Recipient{u"Ann", u"111"}));
    EXPECT_TRUE(read(manager, none).correspondent().empty());
    EXPECT_EQ(read(manager, delivered).report, ReportKind::Delivered);
    EXPECT_EQ(read(manager, other_case).report, ReportKind::None);
}

TEST_F(SmsManagerTest, FailuresLogTheirFixedLines) {
    EntryId id = add(incoming(u"1", u"x"));
    LogCapture capture;
    sms_manager manager;
    EXPECT_TRUE(manager.get_id(kFolderInbox, 1).empty());
    EXPECT_TRUE(capture.has("QueryRows failed\n"));

    ASSERT_TRUE(store_->delete_message(id.bytes()));
    SmsRecord r;
    r.id = id;
    EXPECT_FALSE(manager.read_sms(r));
    EXPECT_TRUE(capture.has("Unable to open the message\nNo message in read_sms\n"));
    EXPECT_FALSE(manager.set_sms_read(r, true));
    EXPECT_TRUE(capture.has("No message in set_sms_read\n"));
    r.folder = kFolderInbox;
    EXPECT_FALSE(manager.delete_sms(r));
    EXPECT_TRUE(capture.has("DeleteMessages failed\n"));
}

TEST_F(SmsManagerTest, WithoutAnSmsStoreEverythingIsEmpty) {
    store_->db().exec(
        "UPDATE stores SET display_name = 'Text messages' WHERE display_name = 'SMS'");
    add(incoming(u"1", u"x"));
    LogCapture capture;
    sms_manager manager;
    EXPECT_FALSE(manager.has_store());
    EXPECT_EQ(manager.get_length(kFolderInbox), 0u);
    EXPECT_TRUE(manager.get_id(kFolderInbox, 0).empty());
    std::string text = capture.text();
    EXPECT_TRUE(contains(text, "SMS store not found\n"));
    EXPECT_EQ(text.find("SMS store not found\n"), text.rfind("SMS store not found\n"));
}

TEST_F(SmsManagerTest, SetReadChangesOnlyWhatDiffers) {
    EntryId id = add(incoming(u"1", u"x"));
    sms_manager manager;
    SmsRecord r;
    r.id = id;
    ASSERT_TRUE(manager.set_sms_read(r, true));
    EXPECT_EQ(store_->find_message(id.bytes())->flags, kMsgFlagRead);
    int64_t before = 0;
    uint32_t count = 0;
    int64_t folder =
        store_->folder_row(store_->stores()[1].entry_id,
                           store_->store_folder_property(store_->stores()[1].entry_id, 0x81060102));
    store_->folder_count(folder, count, before);
    ASSERT_TRUE(manager.set_sms_read(r, true));  // already read: nothing written
    int64_t after = 0;
    store_->folder_count(folder, count, after);
    EXPECT_EQ(before, after);
}

TEST_F(SmsManagerTest, MarkingManyMessagesReadChangesTheUnreadCounterOnce) {
    // A request that starts a program on every change of the counter.
    StartRecorder program(device_.program() / "started.sh");
    std::vector<SmsRecord> chat(3);
    for (SmsRecord& r : chat) r.id = add(incoming(u"1", u"unread"));
    chat.push_back({});
    chat.back().id = add(incoming(u"1", u"read already"));
    ASSERT_TRUE(store_->set_read(chat.back().id.bytes(), true));
    ASSERT_TRUE(store_->delete_message(chat[1].id.bytes()));  // gone meanwhile: passed over
    registry::NotificationRequest r;
    r.name = u"Test.counter";
    r.key = u"HKEY_CURRENT_USER\\System\\State\\Messages\\SMS\\Unread";
    r.value = u"Count";
    r.command_line = u"\"" + program.path().u16string() + u"\" started";
    r.flags = registry::kNoNameOnCommandLine;
    ASSERT_EQ(registry::notify_app(r), registry::kResultOk);

    sms_manager manager;
    ASSERT_TRUE(manager.set_sms_read(chat, true));
    EXPECT_EQ(store_->unread_count(), 0u);
    for (size_t i : {0, 2})
        EXPECT_TRUE(store_->find_message(chat[i].id.bytes())->flags & kMsgFlagRead);
    EXPECT_EQ(program.starts(), "started\n");
}

TEST_F(SmsManagerTest, KeptBatchIsDroppedWhenTheFolderChangedBehindIt) {
    std::vector<EntryId> ids;
    for (int i = 0; i < 15; ++i) ids.push_back(add(incoming(u"1", u"x")));
    sms_manager manager;
    ASSERT_EQ(manager.get_length(kFolderInbox), 15u);
    EXPECT_EQ(manager.get_id(kFolderInbox, 5), ids[5]);
    // Another program deletes one message and one arrives: same row count.
    ASSERT_TRUE(store_->delete_message(ids[0].bytes()));
    EntryId fresh = add(incoming(u"2", u"new"));
    ASSERT_EQ(manager.get_length(kFolderInbox), 15u);
    EXPECT_EQ(manager.get_id(kFolderInbox, 14), fresh);
}

TEST_F(SmsManagerTest, SendPlacesOneSubmittedOutboxMessage) {
    registry::write_number(u"HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Inbox\\Settings",
                           u"SMSDeliveryNotify", 1);
    LogCapture capture;
    {
        sms_manager manager;
        ASSERT_TRUE(manager.send_sms({{u"Ann", u"+79123456789"}, {u"", u"555"}}, u"hi там"));
        EXPECT_EQ(manager.get_length(kFolderOutbox), 1u);
    }
    auto outbox = store_->list_messages(StoreFolderKind::Outbox).value();
    ASSERT_EQ(outbox.size(), 1u);
    EXPECT_EQ(outbox[0].body, u"hi там");
    EXPECT_EQ(outbox[0].flags, 0x28u);
    EXPECT_EQ(outbox[0].msg_status, 0x00040000u);
    EXPECT_TRUE(outbox[0].delivery_report_requested);
    EXPECT_TRUE(outbox[0].submitted);
    EXPECT_EQ(outbox[0].recipients,
              (std::vector<StoredRecipient>{{u"Ann", u"+79123456789"}, {u"", u"555"}}));
    EXPECT_TRUE(capture.has("delivery_notification:1\n"));

    registry::delete_value(u"HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Inbox\\Settings",
                           u"SMSDeliveryNotify");
    sms_manager manager;
    ASSERT_TRUE(manager.send_sms({{u"", u"1"}}, u"no report"));
    EXPECT_FALSE(
        store_->list_messages(StoreFolderKind::Outbox).value()[1].delivery_report_requested);
}

TEST(EntryId, OrdersByLengthThenBytesAndSharesItsBuffer) {
    uint8_t a[] = {9, 9}, b[] = {1, 0, 0}, c[] = {1, 0, 1};
    EntryId short_id(a, 2), long_id(b, 3), longer(c, 3);
    EXPECT_LT(short_id, long_id);
    EXPECT_LT(long_id, longer);
    // Store-sized ids: bytewise, the first byte weighing most, bytes unsigned.
    uint8_t d[] = {1, 0, 0, 0, 0, 0, 0, 0xFF}, e[] = {2, 0, 0, 0, 0, 0, 0, 0},
            f[] = {0x80, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_LT(EntryId(d, 8), EntryId(e, 8));
    EXPECT_LT(EntryId(e, 8), EntryId(f, 8));
    EXPECT_EQ(EntryId(f, 8), EntryId(f, 8));
    EntryId copy = longer;
    EXPECT_EQ(copy.data(), longer.data());
    EXPECT_EQ(copy, longer);
    EXPECT_EQ(EntryId::from_hex(longer.hex()), longer);
    EXPECT_TRUE(EntryId::from_hex("abc").empty());
    EXPECT_TRUE(EntryId::from_hex("zz").empty());
    EXPECT_TRUE(EntryId().empty());
}

}  // namespace
