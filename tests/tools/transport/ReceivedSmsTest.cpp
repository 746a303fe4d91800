#include <ModemManager.h>
#include <gtest/gtest.h>

#include "platform/LocalTime.h"
#include "tools/transport/ModemTime.h"
#include "tools/transport/ReceivedSms.h"

namespace {

// 2026-11-22T09:05:00Z.
constexpr int64_t kStamp = local_time::kUnixEpoch + 1795338300LL * local_time::kTicksPerSecond;
constexpr int64_t kNow = kStamp + 3600LL * local_time::kTicksPerSecond;

ModemSms received(std::string number, std::string text) {
    ModemSms sms;
    sms.state = MM_SMS_STATE_RECEIVED;
    sms.pdu_type = MM_SMS_PDU_TYPE_DELIVER;
    sms.number = std::move(number);
    sms.text = std::move(text);
    sms.timestamp = "2026-11-22T10:05:00+01:00";
    sms.smsc = "+491770610000";
    return sms;
}

}  // namespace

TEST(ModemTime, ReadsTheStampsModemManagerWritesAndRefusesAbsurdOnes) {
    for (const char* text :
         {"2026-11-22T10:05:00+01:00", "2026-11-22T10:05:00+01", "2026-11-22T10:05:00.250+0100",
          "2026-11-22T09:05:00Z", "2026-11-22T04:05:00-05:00"})
        EXPECT_EQ(modem_time::parse(text, kNow), kStamp) << text;
    for (const char* text :
         {"", "2026-11-22T10:05:00", "2026-13-22T10:05:00Z", "1970-01-01T00:00:00Z",
          "2099-01-01T00:00:00Z", "2026-11-22T10:05:00+01:00junk", "yesterday"})
        EXPECT_FALSE(modem_time::parse(text, kNow)) << text;
}

TEST(ReceivedSms, MakesInboxMessagesOfWhatTheModemHolds) {
    ReceivedSms::Damage damage;
    StoredMessage m = ReceivedSms::to_stored(received("+4915551234", "Hello"), kNow, damage);
    EXPECT_EQ(m.folder, StoreFolderKind::Inbox);
    EXPECT_EQ(m.flags, 0u);
    EXPECT_EQ(m.sender_number, u"+4915551234");
    EXPECT_EQ(m.body, u"Hello");
    EXPECT_EQ(m.delivery_time, kStamp);
    EXPECT_EQ(m.message_class, u"IPM.SMStext");
    EXPECT_EQ(m.smsc, u"+491770610000");
    EXPECT_FALSE(damage.invalid_text || damage.long_number || damage.missing_time);

    ModemSms flash = received("+4915551234", "Now!");
    flash.sms_class = 0;
    EXPECT_EQ(ReceivedSms::to_stored(flash, kNow, damage).message_class, u"IPM.SMStext.Class0");

    ModemSms data = received("+4915551234", "");
    data.data_size = 140;
    EXPECT_EQ(ReceivedSms::to_stored(data, kNow, damage).body, u"[8-bit data, 140 bytes]");

    ModemSms report = received("+4915550000", "");
    report.pdu_type = MM_SMS_PDU_TYPE_STATUS_REPORT;
    report.delivery_state = MM_SMS_DELIVERY_STATE_COMPLETED_RECEIVED;
    StoredMessage dr = ReceivedSms::to_stored(report, kNow, damage);
    EXPECT_EQ(dr.message_class, u"REPORT.IPM.SMStext.DR");
    EXPECT_EQ(dr.body, u"Message to +4915550000 delivered");
    report.delivery_state = MM_SMS_DELIVERY_STATE_ERROR_NOT_OBTAINABLE;
    StoredMessage ndr = ReceivedSms::to_stored(report, kNow, damage);
    EXPECT_EQ(ndr.message_class, u"REPORT.IPM.SMStext.NDR");
    EXPECT_EQ(ndr.body, u"Message to +4915550000 not delivered");

    // Only complete received messages and reports are taken.
    ModemSms part = received("+4915551234", "first half");
    part.state = MM_SMS_STATE_RECEIVING;
    EXPECT_FALSE(ReceivedSms::wanted(part));
    ModemSms outgoing = received("+4915551234", "mine");
    outgoing.state = MM_SMS_STATE_SENT;
    outgoing.pdu_type = MM_SMS_PDU_TYPE_SUBMIT;
    EXPECT_FALSE(ReceivedSms::wanted(outgoing));
    EXPECT_TRUE(ReceivedSms::wanted(report));
}

TEST(ReceivedSms, DamagedInputIsMendedAndSaidOnce) {
    // Invalid UTF-8, an unpaired surrogate written as UTF-8, a sender no
    // network sends, a stamp missing.
    ModemSms sms = received(std::string(300, '7'), "ok \xff\xfe then \xed\xa0\x80 end");
    sms.timestamp = "";
    ReceivedSms::Damage damage;
    StoredMessage m = ReceivedSms::to_stored(sms, kNow, damage);
    EXPECT_TRUE(damage.invalid_text);
    EXPECT_TRUE(damage.long_number);
    EXPECT_TRUE(damage.missing_time);
    EXPECT_EQ(m.sender_number.size(), ReceivedSms::kMaxNumberLength);
    EXPECT_EQ(m.delivery_time, kNow);
    EXPECT_TRUE(m.body.starts_with(u"ok "));
    EXPECT_TRUE(m.body.ends_with(u" end"));
    for (char16_t c : m.body) EXPECT_FALSE(c >= 0xD800 && c <= 0xDFFF);
}
