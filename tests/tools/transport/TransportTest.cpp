// quillmo-transport as a process against the fake ModemManager on a private
// bus: what arrives on the modem lands in the Inbox once, what the Outbox
// holds leaves once per recipient, whatever fails or stops on the way.
#include <ModemManager.h>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <sstream>
#include <thread>

#include "FakeModemBus.h"
#include "platform/Registry.h"
#include "platform/SqliteDatabase.h"
#include "platform/store/StoreDatabase.h"
#include "support/ChildProcess.h"
#include "support/FileSizeLimit.h"
#include "support/Files.h"
#include "support/UnreadCounter.h"
#include "tools/DeviceRun.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

const char* const kTransportKey = "HKEY_CURRENT_USER\\Software\\Zelvor\\Quillmo\\Transport";

struct Report {
    int created = 0;
    int on_modem = 0;
    std::vector<std::string> sent;  // "NUMBERHEX/TEXTHEX/REPORT"
    int sends_to(const std::string& number) const {
        int n = 0;
        for (const std::string& s : sent) n += s.starts_with(FakeModemBus::hex(number) + "/");
        return n;
    }
};

class Transport : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(bus.ready()) << "dbus-daemon and the fake ModemManager did not start";
        const char* dir = std::getenv("QUILLMO_PROGRAM_DIR");
        ASSERT_NE(dir, nullptr) << "run through ctest";
        transport = fs::path(dir) / "quillmo-transport";
        setenv("QUILLMO_HOME", dir, 1);  // tmail.exe runs the transport of the build
        device_ok({"init"});
        device_ok({"reg", "set", kTransportKey, "Network", "--string", "modem"});
        ASSERT_EQ(bus.command("modem"), "ok");
    }

    int run(const std::string& mode) {
        ChildProcess p(transport, {mode});
        int status = p.wait();
        err = p.err();
        return status;
    }

    std::string sms(const std::string& number, const std::string& text,
                    const std::string& time = "2026-11-22T10:05:00+01:00", int sms_class = -1,
                    uint32_t pdu = MM_SMS_PDU_TYPE_DELIVER, uint32_t state = MM_SMS_STATE_RECEIVED,
                    uint32_t delivery = MM_SMS_DELIVERY_STATE_UNKNOWN) {
        std::ostringstream line;
        line << "sms " << state << ' ' << pdu << ' ' << FakeModemBus::hex(number) << ' '
             << FakeModemBus::hex(text) << ' ' << FakeModemBus::hex(time) << ' ' << sms_class << ' '
             << delivery << " 0";
        std::string answer = bus.command(line.str());
        EXPECT_TRUE(answer.starts_with("ok ")) << answer;
        return answer.size() > 3 ? answer.substr(3) : "";
    }

    Report report() {
        std::istringstream in(bus.command("report"));
        std::string ok;
        Report r;
        in >> ok >> r.created >> r.on_modem;
        for (std::string s; in >> s;) r.sent.push_back(s);
        return r;
    }

    std::vector<StoredMessage> folder(StoreFolderKind kind) {
        std::string error;
        auto store = StoreDatabase::open(dev.device().string(), &error);
        return store ? store->list_messages(kind).value_or(std::vector<StoredMessage>{})
                     : std::vector<StoredMessage>{};
    }

    void submit(const std::vector<std::string>& numbers, const std::string& text) {
        std::vector<std::string> args = {"sms", "add", "--folder", "outbox"};
        for (const std::string& n : numbers) args.insert(args.end(), {"--to", n});
        args.push_back(text);
        device_ok(args);
    }

    static bool wait_until(const std::function<bool()>& done, std::chrono::seconds limit = 20s) {
        auto end = std::chrono::steady_clock::now() + limit;
        while (!done()) {
            if (std::chrono::steady_clock::now() > end) return false;
            std::this_thread::sleep_for(20ms);
        }
        return true;
    }

    TestDevice dev;
    FakeModemBus bus;
    fs::path transport;
    std::string err;
};

}  // namespace

TEST_F(Transport, StoresWhatWaitsOnTheModemOnceAndTakesItAway) {
    fs::path marker = dev.device() / "hostile-ran";
    sms("+4915551234", "Hello from the modem");
    sms("+4915551234", "Hello from the modem");  // handed over twice: stored once
    sms("+4915550001", "Flash!", "2026-11-22T10:06:00+01:00", 0);
    sms("+4915550002", "", "2026-11-22T10:07:00+01:00", -1, MM_SMS_PDU_TYPE_STATUS_REPORT,
        MM_SMS_STATE_RECEIVED, MM_SMS_DELIVERY_STATE_COMPLETED_RECEIVED);
    sms("\x1b]0;owned\x07" + std::string(300, '9'), "\x1b[2J$(touch " + marker.string() + ")`id`",
        "not a time");
    bus.command("ghost");  // announced, then never there
    std::string mine = sms("+4915550003", "still arriving", "2026-11-22T10:08:00+01:00", -1,
                           MM_SMS_PDU_TYPE_DELIVER, MM_SMS_STATE_RECEIVING);

    ASSERT_EQ(run("--once"), 0) << err;
    std::vector<StoredMessage> inbox = folder(StoreFolderKind::Inbox);
    ASSERT_EQ(inbox.size(), 4u);
    EXPECT_EQ(inbox[0].body, u"Hello from the modem");
    EXPECT_EQ(inbox[1].message_class, u"IPM.SMStext.Class0");
    EXPECT_EQ(inbox[2].message_class, u"REPORT.IPM.SMStext.DR");
    EXPECT_EQ(inbox[2].body, u"Message to +4915550002 delivered");
    EXPECT_EQ(inbox[3].sender_number.size(), 64u);
    EXPECT_EQ(unread_counter(), 3u);  // the report is filed read
    EXPECT_EQ(report().on_modem, 1);  // only the message still arriving stays
    // Hostile text reached neither a shell nor the terminal.
    EXPECT_FALSE(fs::exists(marker));
    EXPECT_EQ(err.find('\x1b'), std::string::npos) << err;

    // The daemon takes the message in parts once it is complete, and one
    // that arrives while another process holds the store's write lock.
    ChildProcess daemon(transport, {"--daemon"});
    ASSERT_TRUE(wait_until([&] { return fs::exists(dev.device() / "transport.wake"); }));
    bus.command("ghost");  // the daemon shrugs this off too
    EXPECT_EQ(bus.command("state " + mine + " 3 " + FakeModemBus::hex("still arriving, now whole")),
              "ok");
    ASSERT_TRUE(wait_until([&] { return folder(StoreFolderKind::Inbox).size() == 5u; }));
    {
        std::string error;
        auto other = SqliteDatabase::open((dev.device() / "store.db").string(), &error);
        ASSERT_TRUE(other && other->begin());
        sms("+4915550004", "while the store is locked", "2026-11-22T10:09:00+01:00");
        std::this_thread::sleep_for(500ms);
        other->commit();
    }
    ASSERT_TRUE(wait_until([&] { return folder(StoreFolderKind::Inbox).size() == 6u; }));
    inbox = folder(StoreFolderKind::Inbox);
    EXPECT_EQ(inbox[4].body, u"still arriving, now whole");
    EXPECT_EQ(inbox[5].body, u"while the store is locked");
    EXPECT_TRUE(wait_until([&] { return report().on_modem == 0; }));

    // One daemon per device folder.
    EXPECT_EQ(run("--daemon"), 1);
    EXPECT_NE(err.find("another transport serves this device folder"), std::string::npos) << err;
    // The system bus going away does not end it.
    bus.stop_bus();
    std::this_thread::sleep_for(300ms);
    daemon.signal(SIGTERM);
    EXPECT_EQ(daemon.wait(), 0);
    EXPECT_NE(daemon.err().find("the system bus went away"), std::string::npos) << daemon.err();
}

TEST_F(Transport, AMessageTheStoreCannotTakeStaysOnTheModem) {
    std::string text;
    for (int i = 0; i < 30000; ++i) text += "я";  // more than the full disk below holds
    sms("+4915551234", text);
    {
        FileSizeLimit disk_full(40 * 1024);
        EXPECT_NE(run("--once"), 0);
    }
    EXPECT_NE(err.find("stays on the modem"), std::string::npos) << err;
    EXPECT_TRUE(folder(StoreFolderKind::Inbox).empty());
    EXPECT_EQ(report().on_modem, 1);
    ASSERT_EQ(run("--once"), 0) << err;
    ASSERT_EQ(folder(StoreFolderKind::Inbox).size(), 1u);
    EXPECT_EQ(report().on_modem, 0);
}

TEST_F(Transport, SendsEachRecipientOnceAndKeepsARefusedMessageForLater) {
    registry::write_number(u"HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Inbox\\Settings",
                           u"SMSDeliveryNotify", 1);
    std::string long_text(400, 'x');
    submit({"+4915550010"}, long_text);
    submit({"+4915550011", "+4915550012", "+4915550013"}, "to three");
    ASSERT_EQ(run("--once"), 0) << err;
    Report r = report();
    ASSERT_EQ(r.sent.size(), 4u);
    EXPECT_EQ(r.sent[0],
              FakeModemBus::hex("+4915550010") + "/" + FakeModemBus::hex(long_text) + "/1");
    for (const char* n : {"+4915550011", "+4915550012", "+4915550013"}) EXPECT_EQ(r.sends_to(n), 1);
    EXPECT_EQ(r.on_modem, 0);  // sent messages are taken off the modem
    EXPECT_TRUE(folder(StoreFolderKind::Outbox).empty());
    EXPECT_EQ(folder(StoreFolderKind::SentItems).size(), 2u);

    // Refused: it stays in the Outbox, marked failed, and goes next time.
    bus.command("fail-sends 1");
    submit({"+4915550020"}, "refused once");
    EXPECT_EQ(run("--once"), 0) << err;
    std::vector<StoredMessage> outbox = folder(StoreFolderKind::Outbox);
    ASSERT_EQ(outbox.size(), 1u);
    EXPECT_TRUE(outbox[0].failed);
    EXPECT_NE(err.find("the network refused the message"), std::string::npos) << err;
    EXPECT_EQ(run("--once"), 0) << err;
    EXPECT_TRUE(folder(StoreFolderKind::Outbox).empty());
    EXPECT_EQ(report().sends_to("+4915550020"), 1);

    // The daemon tries a refused message again at a submission, not at
    // every message that arrives (each attempt announces a message itself).
    bus.command("fail-sends 1000");
    submit({"+4915550021"}, "refused every time");
    int created = report().created;
    ChildProcess daemon(transport, {"--daemon"});
    ASSERT_TRUE(wait_until([&] { return report().created == created + 1; }));
    sms("+4915551234", "an arrival");
    ASSERT_TRUE(wait_until([&] { return folder(StoreFolderKind::Inbox).size() == 1u; }));
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(report().created, created + 1);
    daemon.signal(SIGTERM);
    EXPECT_EQ(daemon.wait(), 0);
}

// A Send whose answer never comes may have gone out: the message waits, and
// the next pass asks the modem instead of sending it again.
TEST_F(Transport, ASendThatTimesOutIsSettledFromTheModemNotRepeated) {
    bus.command("lose-replies 1");
    submit({"+4915550040"}, "did it go?");
    EXPECT_NE(run("--once"), 0);
    EXPECT_NE(err.find("no answer in time"), std::string::npos) << err;
    ASSERT_EQ(folder(StoreFolderKind::Outbox).size(), 1u);
    EXPECT_FALSE(folder(StoreFolderKind::Outbox)[0].failed);
    ASSERT_EQ(run("--once"), 0) << err;
    EXPECT_EQ(report().sends_to("+4915550040"), 1);
    EXPECT_TRUE(folder(StoreFolderKind::Outbox).empty());
    EXPECT_EQ(folder(StoreFolderKind::SentItems).size(), 1u);
}

TEST_F(Transport, AModemThatLeavesMidSendSendsTheRestWhenItComesBack) {
    submit({"+4915550031", "+4915550032", "+4915550033"}, "to three");
    bus.command("remove-modem-at-send 2");
    run("--once");
    std::vector<StoredMessage> outbox = folder(StoreFolderKind::Outbox);
    ASSERT_EQ(outbox.size(), 1u);
    EXPECT_TRUE(outbox[0].failed);
    // No modem: the Outbox waits untouched.
    EXPECT_NE(run("--once"), 0);
    EXPECT_EQ(folder(StoreFolderKind::Outbox).size(), 1u);

    bus.command("modem");
    ASSERT_EQ(run("--once"), 0) << err;
    Report r = report();
    for (const char* n : {"+4915550031", "+4915550032", "+4915550033"})
        EXPECT_EQ(r.sends_to(n), 1) << n;
    EXPECT_EQ(folder(StoreFolderKind::SentItems).size(), 1u);
}

TEST_F(Transport, ADaemonKilledMidSendNeitherLosesNorRepeatsAMessage) {
    ChildProcess daemon(transport, {"--daemon"});
    ASSERT_TRUE(wait_until([&] { return fs::exists(dev.device() / "transport.wake"); }));
    bus.command("send-delay 1000");
    submit({"+4915550041", "+4915550042"}, "interrupted");
    // tmail.exe wakes the running daemon.
    ASSERT_EQ(
        std::system(
            ("'" + (dev.device() / "Windows" / "tmail.exe").string() + "' -RunInBKG").c_str()),
        0);
    ASSERT_TRUE(wait_until([&] { return report().created == 1; }));
    daemon.signal(SIGKILL);
    daemon.wait();
    // The modem finishes what it was given.
    ASSERT_TRUE(wait_until([&] { return report().sent.size() == 1u; }));

    bus.command("send-delay 0");
    ChildProcess again(transport, {"--daemon"});
    ASSERT_TRUE(wait_until([&] { return folder(StoreFolderKind::SentItems).size() == 1u; }));
    Report r = report();
    EXPECT_EQ(r.sends_to("+4915550041"), 1);
    EXPECT_EQ(r.sends_to("+4915550042"), 1);
    EXPECT_TRUE(folder(StoreFolderKind::Outbox).empty());
    again.signal(SIGTERM);
    EXPECT_EQ(again.wait(), 0);
}
