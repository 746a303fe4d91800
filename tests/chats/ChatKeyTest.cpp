#include <gtest/gtest.h>

#include "chats/ChatKey.h"

TEST(ChatKey, KeepsTheLastSevenDigitsWhateverTheNumberIsWrittenWith) {
    EXPECT_EQ(chat_key(u"+7 (912) 345-67-89"), u"3456789");
    EXPECT_EQ(chat_key(u"89123456789"), u"3456789");
    EXPECT_EQ(chat_key(u"123"), u"123");
    EXPECT_EQ(chat_key(u"0123"), u"0123");
    EXPECT_EQ(chat_key(u"BANK"), u"");
}

TEST(ChatKey, FindsTheLongestValidNumberInAReportText) {
    EXPECT_EQ(report_number(u"Message to +7 (912) 345-67-89 delivered"), u"+79123456789");
    EXPECT_EQ(report_number(u"22.11.2026 10:05 delivered to 89123456789"), u"89123456789");
    // Four digits are refused (a year, a time), fewer than three too.
    EXPECT_EQ(report_number(u"Delivered 2026, code 12"), u"");
    EXPECT_EQ(report_number(u"code 123 year 2026"), u"123");
    // '+' only starts a run; inside one it is skipped like a separator.
    EXPECT_EQ(report_number(u"12+345 and + ++"), u"12345");
    // Other characters end a run; of equally long runs the first wins.
    EXPECT_EQ(report_number(u"111;222"), u"111");
}

TEST(ChatKey, PlacesAReportByItsTextAndAnyOtherRecordByItsCorrespondent) {
    SmsRecord record;
    record.details().sender = {u"Ann", u"+7 912 345 67 89"};
    EXPECT_EQ(chat_identity(record).key, u"3456789");
    record.details().sender = {u"My Bank", u"BANK"};
    EXPECT_EQ(chat_identity(record).key, u"BANK");
    record.details().sender = {u"My Bank", u""};
    EXPECT_EQ(chat_identity(record).key, u"My Bank");
    record.flags = kMsgFlagFromMe;
    record.details().recipients = {{u"Bob", u"555-0100"}, {u"Cid", u"555-0199"}};
    EXPECT_EQ(chat_identity(record).key, u"5550100");

    SmsRecord report;
    report.report = ReportKind::Delivered;
    report.details().sender = {u"Centre", u"SMSC"};
    report.details().body = u"Message to 89123456789 delivered";
    ChatIdentity who = chat_identity(report);
    EXPECT_EQ(who.name, u"");
    EXPECT_EQ(who.number, u"89123456789");
    EXPECT_EQ(who.key, u"3456789");
    report.details().body = u"Delivered 2026";
    EXPECT_EQ(chat_identity(report).key, u"SMSC");
}
