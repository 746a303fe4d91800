#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/Registry.h"
#include "platform/RegistryNotification.h"
#include "support/TestDevice.h"

namespace {

const RegistryPath kKey(u"HKEY_CURRENT_USER\\Software\\Zelvor\\Quillmo");

TEST(Registry, ReadsKeepTheCallersDefaultOnAnyMismatch) {
    TestDevice device;
    ASSERT_TRUE(registry::write_string(kKey, u"Skin", u"night"));
    ASSERT_TRUE(registry::write_number(kKey, u"Alerts", 0));
    ASSERT_TRUE(registry::write_string(kKey, u"Number", u"42"));

    std::u16string text = u"default";
    EXPECT_TRUE(registry::read_string(kKey, u"Skin", text));
    EXPECT_EQ(text, u"night");
    text = u"default";
    EXPECT_FALSE(registry::read_string(kKey, u"Alerts", text));
    EXPECT_EQ(text, u"default");

    // A number stored as a string does not read as a number.
    uint32_t number = 7;
    EXPECT_FALSE(registry::read_number(kKey, u"Number", number));
    EXPECT_EQ(number, 7u);
    EXPECT_FALSE(registry::read_number(kKey, u"Missing", number));
    EXPECT_EQ(number, 7u);

    bool flag = true;
    EXPECT_TRUE(registry::read_flag(kKey, u"Alerts", flag));
    EXPECT_FALSE(flag);
    flag = true;
    EXPECT_FALSE(registry::read_flag(kKey, u"Skin", flag));
    EXPECT_TRUE(flag);
}

TEST(Registry, EmptyStringReadsAsEmptyAndStoresItsTerminator) {
    TestDevice device;
    ASSERT_TRUE(registry::write_string(kKey, u"Templates", u""));
    std::u16string text = u"default";
    EXPECT_TRUE(registry::read_string(kKey, u"Templates", text));
    EXPECT_EQ(text, u"");
    auto raw = registry::read_raw(kKey, u"Templates");
    ASSERT_TRUE(raw);
    EXPECT_EQ(raw->type, registry::kTypeString);
    EXPECT_EQ(raw->data.size(), 2u);
    ASSERT_TRUE(registry::write_string(kKey, u"Skin", u"ab"));
    EXPECT_EQ(registry::read_raw(kKey, u"Skin")->data,
              (std::vector<uint8_t>{'a', 0, 'b', 0, 0, 0}));
}

TEST(Registry, KeyAndValueNamesMatchWithoutCaseAndRootsExactly) {
    TestDevice device;
    ASSERT_TRUE(registry::write_number(u"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Inbox\\Settings",
                                       u"SMSNoSentMsg", 1));
    uint32_t v = 0;
    EXPECT_TRUE(registry::read_number(u"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Inbox\\Settings",
                                      u"smsnosentmsg", v));
    EXPECT_EQ(v, 1u);
    // Roots are case-sensitive, and HKEY_CURRENT_CONFIG is none.
    EXPECT_FALSE(registry::write_number(u"hkey_current_user\\x", u"a", 1));
    EXPECT_FALSE(registry::write_number(u"HKEY_CURRENT_CONFIG\\x", u"a", 1));
    EXPECT_FALSE(RegistryPath(u"HKEY_CURRENT_CONFIG\\x").valid());
    EXPECT_EQ(RegistryPath(u"HKEY_USERS\\a\\b").sub_key(), u"a\\b");

    EXPECT_TRUE(registry::delete_value(u"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Inbox\\Settings",
                                       u"SMSNoSentMsg"));
    EXPECT_FALSE(registry::delete_value(u"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Inbox\\Settings",
                                        u"SMSNoSentMsg"));
}

bool wait_for_file(const std::filesystem::path& file) {
    for (int i = 0; i < 200; ++i) {
        if (std::filesystem::exists(file)) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

TEST(Registry, WatchedValueChangingToNonZeroStartsTheCommand) {
    TestDevice device;
    auto script = device.program() / "started.sh";
    auto marker = device.program() / "marker";
    {
        std::ofstream out(script);
        out << "#!/bin/sh\necho \"$@\" >> '" << marker.string() << "'\n";
    }
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);

    const RegistryPath unread(u"HKEY_CURRENT_USER\\System\\State\\Messages\\SMS\\Unread");
    ASSERT_TRUE(registry::write_number(unread, u"Count", 0));
    registry::NotificationRequest r;
    r.name = u"Test.message";
    r.key = unread.full();
    r.value = u"Count";
    r.command_line = u"\"" + std::u16string(script.u16string()) + u"\" message";
    r.flags = registry::kNoNameOnCommandLine;
    r.compare = registry::Compare::NotEqual;
    r.target = 0;
    EXPECT_EQ(registry::notify_app(r), registry::kResultOk);
    EXPECT_EQ(registry::notify_app(r), registry::kResultAlreadyExists);

    ASSERT_TRUE(registry::write_number(unread, u"Count", 0));  // no change
    ASSERT_TRUE(registry::write_number(unread, u"Count", 3));
    ASSERT_TRUE(wait_for_file(marker));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::ifstream in(marker);
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, "message");
    EXPECT_FALSE(std::getline(in, line));  // started once

    std::filesystem::remove(marker);
    ASSERT_TRUE(registry::write_number(unread, u"Count", 0));  // condition false
    EXPECT_EQ(registry::stop_notification(u"Test.message"), registry::kResultOk);
    EXPECT_EQ(registry::stop_notification(u"Test.message"), registry::kResultNotFound);
    ASSERT_TRUE(registry::write_number(unread, u"Count", 5));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_FALSE(std::filesystem::exists(marker));
}

TEST(Registry, ValuesAreSharedBetweenProcesses) {
    TestDevice device;
    pid_t child = fork();
    if (child == 0) {
        for (uint32_t i = 0; i < 50; ++i) registry::write_number(kKey, u"Child", i);
        _exit(0);
    }
    for (uint32_t i = 0; i < 50; ++i) ASSERT_TRUE(registry::write_number(kKey, u"Parent", i));
    int status = 0;
    waitpid(child, &status, 0);
    uint32_t v = 0;
    EXPECT_TRUE(registry::read_number(kKey, u"Child", v));
    EXPECT_EQ(v, 49u);
}

}  // namespace
