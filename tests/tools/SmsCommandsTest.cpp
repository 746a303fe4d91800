// sms deliver, add, list, delete, mark-read and transmit against a fresh device.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "platform/Registry.h"
#include "platform/store/StoredMessage.h"
#include "support/Contains.h"
#include "support/Files.h"
#include "support/TestDevice.h"
#include "support/UnreadCounter.h"
#include "tools/DeviceRun.h"

namespace {

const char16_t* const kSettings = u"HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Inbox\\Settings";

class SmsCommands : public ::testing::Test {
protected:
    // Files a message and returns its id.
    std::string file(std::vector<std::string> args) {
        DeviceRun r = device(args);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(lines(r.out).size(), 1u);
        return r.out.substr(0, r.out.find('\n'));
    }
    std::vector<std::string> json(const std::string& folder = "") {
        std::vector<std::string> args = {"sms", "list", "--json"};
        if (!folder.empty()) args.insert(args.end(), {"--folder", folder});
        return lines(device(args).out);
    }

    InitedDevice dev_;
};

}  // namespace

TEST_F(SmsCommands, DeliverAndAddFileWhatTheOptionsSay) {
    std::string a = file({"sms", "deliver", "--from", "+79123456789", "--name", "Анна", "--time",
                          "2026-11-22T10:05:00", "Привет 😀\nстрока \"2\"\t\\ \x01"});
    std::string b = file({"sms", "add", "--folder", "sent", "--to", "+4477=Emma", "--to", "555",
                          "--time", "2026-11-22T10:06:00", "--read", "Hi"});
    std::string c = file({"sms", "add", "--folder", "drafts", "--to", "555", "--flags", "0x4",
                          "--class", "IPM.SMStext.Custom", "--time", "2026-11-22T10:07", "draft"});
    std::string d =
        file({"sms", "deliver", "--from", "SMSC", "--read", "--class", "REPORT.IPM.SMStext.DR",
              "--time", "2026-11-22T10:08:00", "Message to +4477 delivered"});
    EXPECT_NE(a, b);

    std::vector<std::string> all = json();
    ASSERT_EQ(all.size(), 6u);
    EXPECT_EQ(all[0], "[");
    EXPECT_EQ(all[1],
              "{\"id\":\"" + a +
                  "\",\"folder\":0,\"flags\":0,\"time\":\"2026-11-22T10:05:00\","
                  "\"from\":\"+79123456789\",\"name\":\"Анна\",\"to\":[],\"class\":\"IPM.SMStext\","
                  "\"body\":\"Привет 😀\\nстрока \\\"2\\\"\\t\\\\ \\u0001\"},");
    EXPECT_EQ(all[2],
              "{\"id\":\"" + d +
                  "\",\"folder\":0,\"flags\":1,\"time\":\"2026-11-22T10:08:00\","
                  "\"from\":\"SMSC\",\"name\":\"\",\"to\":[],\"class\":\"REPORT.IPM.SMStext.DR\","
                  "\"body\":\"Message to +4477 delivered\"},");
    EXPECT_EQ(
        all[3],
        "{\"id\":\"" + b +
            "\",\"folder\":1,\"flags\":33,\"time\":\"2026-11-22T10:06:00\","
            "\"from\":\"\",\"name\":\"\",\"to\":[{\"name\":\"Emma\",\"number\":\"+4477\"},"
            "{\"name\":\"\",\"number\":\"555\"}],\"class\":\"IPM.SMStext\",\"body\":\"Hi\"},");
    EXPECT_EQ(all[4], "{\"id\":\"" + c +
                          "\",\"folder\":2,\"flags\":4,\"time\":\"2026-11-22T10:07:00\","
                          "\"from\":\"\",\"name\":\"\",\"to\":[{\"name\":\"\",\"number\":\"555\"}],"
                          "\"class\":\"IPM.SMStext.Custom\",\"body\":\"draft\"}");
    EXPECT_EQ(all[5], "]");
    EXPECT_EQ(json("outbox"), (std::vector<std::string>{"[]"}));

    // The readable table: one heading and one line per message, text on one line.
    std::vector<std::string> table = lines(device({"sms", "list", "--folder", "inbox"}).out);
    ASSERT_EQ(table.size(), 3u);
    EXPECT_TRUE(contains(table[1], "Анна <+79123456789>"));
    EXPECT_TRUE(contains(table[1], "Привет 😀⏎строка"));
}

TEST_F(SmsCommands, MarkReadAndDeleteKeepTheUnreadCounterAndRefuseUnknownIds) {
    std::string a = file({"sms", "deliver", "--from", "1", "one"});
    std::string b = file({"sms", "add", "--folder", "inbox", "--from", "2", "two"});
    EXPECT_EQ(unread_counter(), 2u);

    EXPECT_EQ(device({"sms", "mark-read", a}).status, 0);
    EXPECT_EQ(device({"sms", "mark-read", a}).status, 0) << "already read is no error";
    EXPECT_EQ(unread_counter(), 1u);
    EXPECT_EQ(device({"sms", "delete", b}).status, 0);
    EXPECT_EQ(unread_counter(), 0u);

    for (const char* verb : {"delete", "mark-read"}) {
        DeviceRun r = device({"sms", verb, b});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_TRUE(contains(r.err, "no message with id " + b));
    }
    EXPECT_EQ(json().size(), 3u) << "one message left";
}

TEST_F(SmsCommands, OutboxMessagesAreSubmittedAndTransmittedWithReportsAsTheSettingSays) {
    // The phone asks for delivery reports: one comes back per delivered message.
    ASSERT_TRUE(registry::write_number(kSettings, u"SMSDeliveryNotify", 1));
    std::string ok =
        file({"sms", "add", "--folder", "outbox", "--to", "+7 912 345-67-89=Anna", "ok"});
    std::string bad = file({"sms", "add", "--folder", "outbox", "--to", "+44 7700 900123", "bad"});
    std::vector<std::string> outbox = json("outbox");
    ASSERT_EQ(outbox.size(), 4u);
    EXPECT_TRUE(contains(outbox[1], "\"flags\":40")) << "from me and unsent";

    // --fail matches the number whatever its spelling.
    DeviceRun r = device({"sms", "transmit", "--fail", "+447700900123"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "sent 1, failed 1, reports 1\n");
    std::vector<std::string> sent = json("sent");
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_TRUE(contains(sent[1], "\"id\":\"" + ok + "\""));
    EXPECT_TRUE(contains(sent[1], "\"flags\":32")) << "no longer unsent";
    std::vector<std::string> inbox = json("inbox");
    ASSERT_EQ(inbox.size(), 3u);
    EXPECT_TRUE(contains(inbox[1], "REPORT.IPM.SMStext.DR"));
    EXPECT_TRUE(contains(inbox[1], "+7 912 345-67-89")) << "the report names the number";
    outbox = json("outbox");
    ASSERT_EQ(outbox.size(), 3u);
    EXPECT_TRUE(contains(outbox[1], "\"id\":\"" + bad + "\""));

    // The failed message is not submitted any more; nothing is left to send.
    EXPECT_EQ(device({"sms", "transmit"}).out, "sent 0, failed 0, reports 0\n");

    // Without the setting no report is requested. The setting is a 16-bit
    // switch, for this tool as for the program's sending.
    ASSERT_TRUE(registry::delete_value(kSettings, u"SMSDeliveryNotify"));
    file({"sms", "add", "--folder", "outbox", "--to", "555", "again"});
    EXPECT_EQ(device({"sms", "transmit"}).out, "sent 1, failed 0, reports 0\n");
    for (uint32_t setting : {0x10000u, 0x10001u}) {
        ASSERT_TRUE(registry::write_number(kSettings, u"SMSDeliveryNotify", setting));
        file({"sms", "add", "--folder", "outbox", "--to", "555", "hi"});
        EXPECT_EQ(device({"sms", "transmit"}).out, setting == 0x10000u
                                                       ? "sent 1, failed 0, reports 0\n"
                                                       : "sent 1, failed 0, reports 1\n");
    }
}

TEST_F(SmsCommands, ATextLongerThanAnSmsIsRefused) {
    // Characters count, not bytes: the longest text in Cyrillic is accepted.
    std::string longest;
    for (size_t i = 0; i < kMaxBodyLength; ++i) longest += "я";
    file({"sms", "deliver", "--from", "1", longest});
    for (auto args : {std::vector<std::string>{"sms", "deliver", "--from", "1", longest + "!"},
                      std::vector<std::string>{"sms", "add", "--folder", "inbox", "--from", "1",
                                               longest + "!"}}) {
        DeviceRun r = device(args);
        EXPECT_EQ(r.status, 2) << args[1];
        EXPECT_TRUE(contains(r.err, "has 40001 characters; an SMS holds at most 40000"));
    }
    EXPECT_EQ(json().size(), 3u) << "one message filed";
}

// The built program, run with a file size limit as `ulimit -f` sets it.
TEST_F(SmsCommands, AWriteOverTheFileSizeLimitFailsAndSaysSo) {
    const char* program_dir = std::getenv("QUILLMO_PROGRAM_DIR");
    std::filesystem::path program = program_dir ? program_dir : "";
    program /= "quillmo-device";
    if (program_dir == nullptr || !std::filesystem::exists(program))
        GTEST_SKIP() << "needs the built program folder (run through ctest)";
    std::string text;
    for (int i = 0; i < 30000; ++i) text += "я";  // 60 KB, more than the limit below
    std::filesystem::path err = dev_.program() / "stderr.txt";
    pid_t child = fork();
    if (child == 0) {
        rlimit limit{32 * 1024, 32 * 1024};
        setrlimit(RLIMIT_FSIZE, &limit);
        int fd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(fd, 2);
        execl(program.c_str(), "quillmo-device", "sms", "deliver", "--from", "1", text.c_str(),
              static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 1);
    std::string message = read_file(err);
    EXPECT_TRUE(contains(message,
                         "store.db cannot be written: the file size limit (ulimit -f) is reached"));
    EXPECT_EQ(lines(message).size(), 1u) << message;
    EXPECT_EQ(json(), (std::vector<std::string>{"[]"})) << "nothing filed";
}
