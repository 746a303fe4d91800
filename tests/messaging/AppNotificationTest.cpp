#include <gtest/gtest.h>

#include "messaging/AppNotification.h"
#include "platform/RegistryNotification.h"
#include "support/LogCapture.h"
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
    std::string text = capture.text();
    EXPECT_NE(text.find("set_app_notification Zelvor.Quillmo.message \""), std::string::npos);
    EXPECT_NE(text.find("set_app_notification fun good\nset_app_notification result=0\n"),
              std::string::npos);
    EXPECT_NE(
        text.find("stop_app_notification Zelvor.Quillmo.messagestop_app_notification fun good\n"),
        std::string::npos);
}

}  // namespace
