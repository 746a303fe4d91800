#include <gtest/gtest.h>

#include <filesystem>

#include "support/TestDevice.h"
#include "tools/DeviceRun.h"

namespace {

TEST(ChatsCommand, ListsTheChatsAsTheProgramBuildsThemAndKeepsTheCache) {
    TestDevice dev;
    ASSERT_EQ(device({"init"}).status, 0);
    ASSERT_EQ(device({"sms", "deliver", "--from", "+7 (912) 345-67-89", "--name", "Анна", "--time",
                      "2026-11-22T10:05:00", "Привет\n\"там\""})
                  .status,
              0);
    ASSERT_EQ(device({"sms", "add", "--folder", "sent", "--to", "89123456789", "--time",
                      "2026-11-22T10:07:00", "--read", "ok"})
                  .status,
              0);
    ASSERT_EQ(device({"sms", "deliver", "--from", "BANK", "--read", "--time", "2026-11-21T09:00:00",
                      "code 1234"})
                  .status,
              0);

    DeviceRun json = device({"chats", "--json"});
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_EQ(
        json.out,
        "[{\"key\":\"3456789\",\"name\":\"Анна\",\"number\":\"+7 (912) 345-67-89\","
        "\"label\":\"\",\"unread\":1,\"messages\":2,\"last_time\":\"2026-11-22T10:07:00\","
        "\"last_body\":\"ok\"},"
        "{\"key\":\"BANK\",\"name\":\"\",\"number\":\"BANK\",\"label\":\"\",\"unread\":0,"
        "\"messages\":1,\"last_time\":\"2026-11-21T09:00:00\",\"last_body\":\"code 1234\"}]\n");
    // The program's start leaves its cache in the program folder.
    EXPECT_TRUE(std::filesystem::exists(dev.program() / "cache"));

    // A second run starts from the cache and finds the new message.
    ASSERT_EQ(
        device({"sms", "deliver", "--from", "BANK", "--time", "2026-11-23T08:00:00", "new"}).status,
        0);
    DeviceRun text = device({"chats"});
    ASSERT_EQ(text.status, 0);
    auto out = lines(text.out);
    ASSERT_GE(out.size(), 2u);
    EXPECT_EQ(out[0], "0. BANK  key BANK, 2 messages, 1 unread");
    EXPECT_EQ(out[1], "     2026-11-23T08:00:00  new");
}

TEST(ChatsCommand, RefusesAMissingDeviceAndBadArguments) {
    TestDevice dev;
    std::filesystem::remove_all(dev.device());
    DeviceRun missing = device({"chats"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_FALSE(std::filesystem::exists(dev.device()));
    ASSERT_EQ(device({"init"}).status, 0);
    DeviceRun bad = device({"chats", "--jsn"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_TRUE(bad.out.empty());
}

}  // namespace
