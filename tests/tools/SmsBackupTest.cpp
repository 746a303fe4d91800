// sms import and sms export: the Android backup XML, its quirks, its failures,
// and the round trip.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/LocalTime.h"
#include "platform/store/StoreDatabase.h"
#include "support/Contains.h"
#include "support/Files.h"
#include "support/TestDevice.h"
#include "support/UnreadCounter.h"
#include "tools/DeviceRun.h"
#include "tools/device/SmsBackupReader.h"

namespace fs = std::filesystem;

namespace {

const std::string kData = QUILLMO_TOOLS_TEST_DATA;

std::vector<StoredMessage> stored(const TestDevice& dev) {
    std::string error;
    auto store = StoreDatabase::open(dev.device().string(), &error);
    EXPECT_TRUE(store) << error;
    return store ? store->list_messages(std::nullopt).value() : std::vector<StoredMessage>{};
}

// The list without entry ids, which differ between devices.
std::string list_without_ids() {
    std::string out;
    for (std::string line : lines(device({"sms", "list", "--json"}).out)) {
        size_t at = line.find("\"id\":\"");
        if (at != std::string::npos) line.erase(at, line.find('"', at + 6) + 2 - at);
        out += line + "\n";
    }
    return out;
}

}  // namespace

TEST(SmsBackup, ImportFilesEverySmsWithItsFolderFlagsAndText) {
    InitedDevice dev;
    DeviceRun r = device({"sms", "import", kData + "/backup.xml"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "imported 5, skipped 1\n");

    std::vector<StoredMessage> m = stored(dev);
    ASSERT_EQ(m.size(), 5u);
    EXPECT_EQ(m[0].folder, StoreFolderKind::Inbox);
    EXPECT_EQ(m[0].sender_number, u"+79123456789");
    EXPECT_EQ(m[0].sender_name, u"Анна Петрова");
    EXPECT_EQ(m[0].body, u"Привет! Ты дома? 😀") << "surrogate references joined";
    EXPECT_EQ(m[0].flags, 0x01u);
    EXPECT_EQ(m[0].delivery_time, local_time::from_unix_ms(1795337100000));
    EXPECT_EQ(m[0].smsc, u"+79168999100");

    EXPECT_EQ(m[1].folder, StoreFolderKind::Inbox);
    EXPECT_EQ(m[1].sender_number, u"BANK");
    EXPECT_EQ(m[1].sender_name, u"") << "(Unknown) is no name";
    EXPECT_EQ(m[1].body, u"Покупка 1 250,00 р. <Карта *4821> & \"кэшбэк\" '5%'");
    EXPECT_EQ(m[1].flags, 0u);

    EXPECT_EQ(m[2].folder, StoreFolderKind::SentItems);
    EXPECT_EQ(m[2].recipients, (std::vector<StoredRecipient>{{u"Анна Петрова", u"89123456789"}}));
    EXPECT_EQ(m[2].body, u"Да, через 10 минут\nКупить хлеба? 👍");
    EXPECT_EQ(m[2].flags, 0x21u);
    EXPECT_EQ(m[2].smsc, u"") << "\"null\" is no service centre";

    EXPECT_EQ(m[3].folder, StoreFolderKind::Drafts);
    EXPECT_EQ(m[3].body, u"See you at 7 \uFFFD") << "a lone surrogate becomes U+FFFD";

    EXPECT_EQ(m[4].folder, StoreFolderKind::Outbox);
    EXPECT_EQ(m[4].flags, 0x29u);
    EXPECT_TRUE(m[4].failed);
    EXPECT_FALSE(m[4].submitted) << "importing must send nothing";
    EXPECT_EQ(m[4].body, u"Line one\r\nLine two");

    EXPECT_EQ(unread_counter(), 1u);
    EXPECT_EQ(device({"sms", "transmit"}).out, "sent 0, failed 0, reports 0\n");
}

TEST(SmsBackup, ABrokenFileImportsNothingAndNamesTheLineWhileAnOverlongTextIsSkipped) {
    InitedDevice dev;
    device_ok({"sms", "deliver", "--from", "1", "already here"});
    struct Case {
        std::string file;
        std::string expected;
    };
    for (const Case& c :
         {Case{kData + "/malformed.xml", "malformed.xml: line 4: not well-formed"},
          Case{kData + "/missing-date.xml", "missing-date.xml: line 5: <sms> without a 'date'"},
          Case{kData + "/no-such-file.xml", "cannot read"},
          // A device is refused at once rather than read until memory runs out.
          Case{"/dev/zero", "cannot read /dev/zero: not a regular file"}}) {
        DeviceRun r = device({"sms", "import", c.file});
        EXPECT_EQ(r.status, 1) << c.file;
        EXPECT_EQ(r.out, "");
        EXPECT_TRUE(contains(r.err, c.expected));
        EXPECT_EQ(lines(r.err).size(), 1u) << r.err;
        EXPECT_EQ(stored(dev).size(), 1u) << "store unchanged after " << c.file;
    }

    // A text longer than an SMS can carry is skipped with a warning.
    fs::path file = dev.program() / "long.xml";
    write_file(file, "<smses><sms address='1' date='1' type='1' body='" +
                         std::string(kMaxBodyLength + 1, 'x') +
                         "'/><sms address='2' date='2' type='1' body='short'/></smses>");
    DeviceRun r = device({"sms", "import", file.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "imported 1, skipped 1\n");
    EXPECT_EQ(r.err,
              "quillmo-device: sms import: warning: skipped 1 message longer than 40000 "
              "characters\n");
    ASSERT_EQ(stored(dev).size(), 2u);
    EXPECT_EQ(stored(dev)[1].body, u"short");
}

TEST(SmsBackup, ReaderRefusesWhatIsNoSmsBackup) {
    struct Case {
        const char* xml;
        const char* error;
    };
    for (const Case& c : {
             Case{"", "line 1: not well-formed"},
             Case{"<html><sms/></html>", "line 1: the root element is <html>"},
             Case{"<smses>\n<sms address='1' date='soon' type='1' body='x'/></smses>",
                  "line 2: <sms> with date 'soon'"},
             Case{"<smses><sms address='1' date='1' type='x' body='x'/></smses>",
                  "line 1: <sms> with type 'x'"},
             Case{"<!DOCTYPE smses [<!ENTITY a 'aaaaaaaa'>]>\n<smses><sms address='1' date='1' "
                  "type='1' body='&a;'/></smses>",
                  "line 1: entity declarations are not allowed"},
         }) {
        std::string error;
        EXPECT_FALSE(SmsBackupReader::parse(c.xml, &error)) << c.xml;
        EXPECT_TRUE(error.starts_with(c.error)) << error;
    }
    // Unknown kinds of message and elements other than <sms> are skipped.
    std::string error;
    auto backup = SmsBackupReader::parse(
        "<smses><sms address='1' date='1' type='0' body='x'/><call/><sms address='' date='2' "
        "type='6' body=''/></smses>",
        &error);
    ASSERT_TRUE(backup) << error;
    EXPECT_EQ(backup->skipped, 2u);
    ASSERT_EQ(backup->messages.size(), 1u);
    EXPECT_EQ(backup->messages[0].folder, StoreFolderKind::Outbox);
}

TEST(SmsBackup, ExportImportsBackToTheSameMessages) {
    InitedDevice first;
    device_ok({"sms", "import", kData + "/backup.xml"});
    device_ok({"sms", "deliver", "--from", "+100", "--class", "REPORT.IPM.SMStext.DR",
               "Message to +100 delivered"});
    std::string before = list_without_ids();
    fs::path file = first.program() / "history.xml";
    DeviceRun out = device({"sms", "export", file.string()});
    ASSERT_EQ(out.status, 0) << out.err;
    EXPECT_EQ(out.out, "exported 5, skipped 1\n") << "delivery reports have no place in a backup";
    std::string xml = read_file(file);
    EXPECT_TRUE(xml.starts_with("<?xml version='1.0' encoding='UTF-8' standalone='yes' ?>\n"))
        << xml;
    EXPECT_TRUE(contains(xml, "<smses count=\"5\""));
    EXPECT_TRUE(contains(xml, "contact_name=\"(Unknown)\""));
    EXPECT_TRUE(contains(xml, "service_center=\"+79168999100\""));
    EXPECT_TRUE(contains(xml, "readable_date=\""));

    InitedDevice second;
    device_ok({"sms", "import", file.string()});
    device_ok({"sms", "deliver", "--from", "+100", "--class", "REPORT.IPM.SMStext.DR",
               "Message to +100 delivered"});
    std::string after = list_without_ids();
    // The report was filed at a different moment; everything else must agree.
    auto drop_report = [](std::string text) {
        size_t at = text.find("REPORT.IPM");
        size_t begin = text.rfind('\n', at) + 1;
        return text.erase(begin, text.find('\n', at) + 1 - begin);
    };
    EXPECT_EQ(drop_report(after), drop_report(before));

    // A failed export leaves nothing behind.
    DeviceRun bad =
        device({"sms", "export", (second.program() / "no" / "such" / "x.xml").string()});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.out, "");
    EXPECT_FALSE(fs::exists(second.program() / "no"));
}
