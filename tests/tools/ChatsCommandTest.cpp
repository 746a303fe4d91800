#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "chats/ChatModel.h"
#include "platform/RegistryNotification.h"
#include "support/Files.h"
#include "support/TestDevice.h"
#include "tools/DeviceRun.h"

namespace {

// The bytes of the device's registry and cache files, by name.
std::map<std::string, std::string> device_files(const TestDevice& dev) {
    std::map<std::string, std::string> files;
    for (const char* name : {"registry.db", "registry.db-wal", "cache"})
        if (std::filesystem::exists(dev.device() / name))
            files[name] = read_file(dev.device() / name);
    return files;
}

TEST(ChatsCommand, ListsTheChatsAsTheProgramBuildsThemAndWritesNothing) {
    InitedDevice dev;
    device_ok({"sms", "deliver", "--from", "+7 (912) 345-67-89", "--name", "Анна", "--time",
               "2026-11-22T10:05:00", "Привет\n\"там\""});
    device_ok({"sms", "add", "--folder", "sent", "--to", "89123456789", "--time",
               "2026-11-22T10:07:00", "--read", "ok"});
    device_ok({"sms", "deliver", "--from", "BANK", "--read", "--time", "2026-11-21T09:00:00",
               "code 1234"});

    auto before = device_files(dev);
    DeviceRun json = device({"chats", "--json"});
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_EQ(
        json.out,
        "[{\"key\":\"3456789\",\"name\":\"Анна\",\"number\":\"+7 (912) 345-67-89\","
        "\"label\":\"\",\"unread\":1,\"messages\":2,\"last_time\":\"2026-11-22T10:07:00\","
        "\"last_body\":\"ok\"},"
        "{\"key\":\"BANK\",\"name\":\"\",\"number\":\"BANK\",\"label\":\"\",\"unread\":0,"
        "\"messages\":1,\"last_time\":\"2026-11-21T09:00:00\",\"last_body\":\"code 1234\"}]\n");
    // A listing registers no request to start the program, and leaves the
    // registry and the (absent) cache as they were; so does the phone list.
    EXPECT_EQ(device_files(dev), before);
    device_ok({"contacts", "list"});
    EXPECT_EQ(device_files(dev), before);
    EXPECT_FALSE(std::filesystem::exists(dev.device() / "cache"));
    EXPECT_TRUE(registry::notification_requests().empty());

    // After the program ran, a listing starts from its cache, finds the new
    // message, and still changes nothing.
    {
        ChatModel program;
        program.start();
        program.load(nullptr);
    }
    ASSERT_TRUE(std::filesystem::exists(dev.device() / "cache"));
    device_ok({"sms", "deliver", "--from", "BANK", "--time", "2026-11-23T08:00:00", "new"});
    before = device_files(dev);
    DeviceRun text = device({"chats"});
    ASSERT_EQ(text.status, 0);
    auto out = lines(text.out);
    ASSERT_GE(out.size(), 2u);
    EXPECT_EQ(out[0], "0. BANK  key BANK, 2 messages, 1 unread");
    EXPECT_EQ(out[1], "     2026-11-23T08:00:00  new");
    EXPECT_EQ(device_files(dev), before);
}

TEST(ChatsCommand, PrintsStoredTextWithItsControlCharactersReplaced) {
    InitedDevice dev;
    device_ok({"sms", "deliver", "--from", "+1555\x1b[2J0100", "--name",
               "\x1b]0;owned\x07"
               "Eve\xc2\x9b",
               "--time", "2026-11-22T10:05:00",
               "\x1b]52;c;ZWNobyBoaQ==\x07"
               "copied\nnext"});
    DeviceRun text = device({"chats"});
    ASSERT_EQ(text.status, 0);
    EXPECT_EQ(text.out,
              "0.  ]0;owned Eve  <+1555 [2J0100>  key 5520100, 1 message, 1 unread\n"
              "     2026-11-22T10:05:00   ]52;c;ZWNobyBoaQ== copied⏎next\n");
}

}  // namespace
