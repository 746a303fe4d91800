#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/Log.h"
#include "platform/Paths.h"
#include "platform/Registry.h"
#include "support/Files.h"
#include "support/LogCapture.h"
#include "support/TestDevice.h"

namespace {

TEST(Log, WritesUtf16WithByteOrderMarkOnlyWhileSwitchedOn) {
    TestDevice device;
    log() << u"discarded\n";
    EXPECT_FALSE(std::filesystem::exists(log_file_path()));
    EXPECT_EQ(log_file_path(),
              device.device().string() + "/Temp/" +
                  std::filesystem::path(paths::native(paths::get_app_path())).filename().string() +
                  ".txt");
    {
        LogCapture capture;
        log() << u"update_chats " << true << u" time:" << 12 << u"\n";
        log() << "ж\n";
        EXPECT_EQ(capture.text(), "update_chats 1 time:12\nж\n");
        std::string bytes = read_file(log_file_path());
        ASSERT_GE(bytes.size(), 4u);
        EXPECT_EQ(bytes.substr(0, 4), std::string("\xFF\xFE"
                                                  "u\0",
                                                  4));
    }
    // Switched off, the next line goes nowhere; switched on again, lines are
    // added without a second mark.
    log() << u"after\n";
    EXPECT_FALSE(contains(read_file(log_file_path()), std::string("a\0f\0t", 5)));
    registry::write_number(u"HKEY_CURRENT_USER\\Software\\Zelvor", u"Log", 2);
    log() << u"two\n";
    EXPECT_FALSE(contains(read_file(log_file_path()).substr(2), "\xFF\xFE"));
    EXPECT_TRUE(contains(read_file(log_file_path()), std::string("t\0w\0o\0", 6)));
    registry::write_number(u"HKEY_CURRENT_USER\\Software\\Zelvor", u"Log", 0);
}

TEST(LogDeathTest, AFifoAtTheLogsPathTurnsLoggingOffWithoutBlocking) {
    TestDevice device;
    std::filesystem::create_directories(std::filesystem::path(log_file_path()).parent_path());
    ASSERT_EQ(mkfifo(log_file_path().c_str(), 0600), 0);
    registry::write_number(u"HKEY_CURRENT_USER\\Software\\Zelvor", u"Log", 1);
    // Nobody reads the FIFO: an open that waited for a reader would hang, and
    // the alarm would end the child instead.
    EXPECT_EXIT(
        {
            alarm(10);
            log() << u"nobody reads this\n";
            _exit(log().is_file() ? 1 : 0);
        },
        ::testing::ExitedWithCode(0), "is not a regular file; logging is off");
    registry::write_number(u"HKEY_CURRENT_USER\\Software\\Zelvor", u"Log", 0);
}

TEST(LogDeathTest, FatalLogsAndEndsWithFailure) {
    TestDevice device;
    LogCapture capture;
    EXPECT_EXIT(fatal(u"Singleton is already instantiated", u"Singleton::Singleton()"),
                ::testing::ExitedWithCode(70), "Gluck: Singleton is already instantiated");
    EXPECT_TRUE(capture.has("Gluck: Singleton is already instantiated @ Singleton::Singleton()\n"));
}

}  // namespace
