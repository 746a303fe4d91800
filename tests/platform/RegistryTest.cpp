#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/Registry.h"
#include "platform/RegistryNotification.h"
#include "support/StartRecorder.h"
#include "support/TestDevice.h"

namespace {

const RegistryPath kKey(u"HKEY_CURRENT_USER\\Software\\Zelvor\\Quillmo");

TEST(Registry, NamesMatchWithoutCaseAndReadsKeepTheCallersDefaultOnAnyMismatch) {
    TestDevice device;
    ASSERT_TRUE(registry::write_string(kKey, u"Skin", u"night"));
    ASSERT_TRUE(registry::write_number(kKey, u"Alerts", 0));
    ASSERT_TRUE(registry::write_string(kKey, u"Number", u"42"));
    ASSERT_TRUE(registry::write_string(kKey, u"Templates", u""));

    std::u16string text = u"default";
    EXPECT_TRUE(
        registry::read_string(u"HKEY_CURRENT_USER\\SOFTWARE\\zelvor\\Quillmo", u"skin", text));
    EXPECT_EQ(text, u"night");
    EXPECT_TRUE(registry::read_string(kKey, u"Templates", text));
    EXPECT_EQ(text, u"");
    text = u"default";
    EXPECT_FALSE(registry::read_string(kKey, u"Alerts", text));
    EXPECT_EQ(text, u"default");
    // A number stored as a string does not read as a number.
    uint32_t number = 7;
    EXPECT_FALSE(registry::read_number(kKey, u"Number", number));
    EXPECT_FALSE(registry::read_number(kKey, u"Missing", number));
    EXPECT_EQ(number, 7u);
    bool flag = true;
    EXPECT_FALSE(registry::read_flag(kKey, u"Skin", flag));
    EXPECT_TRUE(flag);
    EXPECT_TRUE(registry::read_flag(kKey, u"Alerts", flag));
    EXPECT_FALSE(flag);

    // Strings are stored with their terminator, the empty one too.
    EXPECT_EQ(registry::read_raw(kKey, u"Templates")->data, (std::vector<uint8_t>{0, 0}));
    ASSERT_TRUE(registry::write_string(kKey, u"Skin", u"ab"));
    EXPECT_EQ(registry::read_raw(kKey, u"Skin")->data,
              (std::vector<uint8_t>{'a', 0, 'b', 0, 0, 0}));

    // Roots are case-sensitive, and HKEY_CURRENT_CONFIG is none.
    EXPECT_FALSE(registry::write_number(u"hkey_current_user\\x", u"a", 1));
    EXPECT_FALSE(registry::write_number(u"HKEY_CURRENT_CONFIG\\x", u"a", 1));
    EXPECT_EQ(RegistryPath(u"HKEY_USERS\\a\\b").sub_key(), u"a\\b");
    EXPECT_TRUE(registry::delete_value(kKey, u"number"));
    EXPECT_FALSE(registry::delete_value(kKey, u"Number"));
}

TEST(Registry, WatchedValueChangingToNonZeroStartsTheCommand) {
    TestDevice device;
    StartRecorder program(device.program() / "started.sh");
    const RegistryPath unread(u"HKEY_CURRENT_USER\\System\\State\\Messages\\SMS\\Unread");
    ASSERT_TRUE(registry::write_number(unread, u"Count", 0));
    registry::NotificationRequest r;
    r.name = u"Test.message";
    r.key = unread.full();
    r.value = u"Count";
    r.command_line = u"\"" + program.path().u16string() + u"\" message";
    r.flags = registry::kNoNameOnCommandLine;
    r.compare = registry::Compare::NotEqual;
    r.target = 0;
    EXPECT_EQ(registry::notify_app(r), registry::kResultOk);
    EXPECT_EQ(registry::notify_app(r), registry::kResultAlreadyExists);

    ASSERT_TRUE(registry::write_number(unread, u"Count", 0));  // no change
    ASSERT_TRUE(registry::write_number(unread, u"Count", 3));
    EXPECT_EQ(program.starts(), "message\n");  // started once

    program.forget();
    ASSERT_TRUE(registry::write_number(unread, u"Count", 0));  // condition false
    EXPECT_EQ(registry::stop_notification(u"Test.message"), registry::kResultOk);
    EXPECT_EQ(registry::stop_notification(u"Test.message"), registry::kResultNotFound);
    ASSERT_TRUE(registry::write_number(unread, u"Count", 5));
    EXPECT_EQ(program.starts(std::chrono::milliseconds(0)), "");
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
