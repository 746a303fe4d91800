#include <gtest/gtest.h>

#include <filesystem>

#include "messaging/AppNotification.h"
#include "platform/Process.h"
#include "platform/Registry.h"
#include "platform/RegistryNotification.h"
#include "support/LogCapture.h"
#include "support/StartRecorder.h"
#include "support/TestDevice.h"

namespace {

TEST(AppNotification, RequestsTheProgramOnANonZeroUnreadCount) {
    TestDevice device;
    LogCapture capture;
    std::u16string command = message_command_line();
    EXPECT_EQ(command, u"\"" + device.program().u16string() + u"/quillmo\" message");
    EXPECT_TRUE(set_app_notification(kMessageNotificationName, command));
    EXPECT_TRUE(set_app_notification(kMessageNotificationName, command));  // exists: still fine
    auto requests = registry::notification_requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].name, u"Zelvor.Quillmo.message");
    EXPECT_EQ(requests[0].key, u"HKEY_CURRENT_USER\\System\\State\\Messages\\SMS\\Unread");
    EXPECT_EQ(requests[0].value, u"Count");
    EXPECT_EQ(requests[0].compare, registry::Compare::NotEqual);
    EXPECT_EQ(requests[0].flags, 1u);
    EXPECT_TRUE(stop_app_notification(kMessageNotificationName));
    EXPECT_TRUE(stop_app_notification(kMessageNotificationName));
    EXPECT_TRUE(registry::notification_requests().empty());
    EXPECT_TRUE(capture.has("set_app_notification Zelvor.Quillmo.message \""));
    EXPECT_TRUE(capture.has("set_app_notification fun good\nset_app_notification result=0\n"));
    EXPECT_TRUE(capture.has(
        "stop_app_notification Zelvor.Quillmo.messagestop_app_notification fun good\n"));
}

TEST(AppNotification, StartsTheProgramWhateverItsFolderIsCalled) {
    TestDevice device;
    // Quotes, backslashes (one before a quote) and spaces in the folder's name.
    auto folder = device.program() / "say \\\"hi\\\" \\ there";
    std::filesystem::create_directories(folder);
    setenv("QUILLMO_HOME", folder.c_str(), 1);
    StartRecorder program(folder / "quillmo");

    std::u16string command = message_command_line();
    EXPECT_EQ(process::split_command_line(command),
              (std::vector<std::u16string>{(folder / "quillmo").u16string(), u"message"}));
    ASSERT_TRUE(set_app_notification(kMessageNotificationName, command));
    ASSERT_TRUE(registry::write_number(u"HKEY_CURRENT_USER\\System\\State\\Messages\\SMS\\Unread",
                                       u"Count", 1));
    EXPECT_EQ(program.starts(), "message\n");
}

}  // namespace
