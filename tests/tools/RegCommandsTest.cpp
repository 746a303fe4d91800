// reg get, set and delete.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>

#include "platform/Registry.h"
#include "support/Contains.h"
#include "support/TestDevice.h"
#include "tools/DeviceRun.h"

TEST(RegCommands, SetGetAndDeleteStringsAndNumbersButNoHelpWordAsAValue) {
    InitedDevice dev;
    const std::string key = "HKEY_CURRENT_USER\\Software\\Zelvor\\Quillmo";

    EXPECT_EQ(device({"reg", "set", key, "Skin", "--string", "Тёмная тема"}).status, 0);
    EXPECT_EQ(device({"reg", "get", key, "Skin"}).out, "Тёмная тема\n");
    EXPECT_EQ(device({"reg", "set", key, "Alerts", "--number", "0x10"}).status, 0);
    EXPECT_EQ(device({"reg", "get", key, "alerts"}).out, "16\n") << "names ignore case";
    EXPECT_EQ(device({"reg", "set", key, "Empty", "--string", ""}).status, 0);
    EXPECT_EQ(device({"reg", "get", key, "Empty"}).out, "\n");

    // A number written as a string stays a string: readers of numbers refuse it.
    EXPECT_EQ(device({"reg", "set", key, "Log", "--string", "1"}).status, 0);
    EXPECT_EQ(device({"reg", "get", key, "Log"}).out, "1\n");
    uint32_t number = 7;
    EXPECT_FALSE(
        registry::read_number(u"HKEY_CURRENT_USER\\Software\\Zelvor\\Quillmo", u"Log", number));
    EXPECT_EQ(number, 7u);

    EXPECT_EQ(device({"reg", "delete", key, "Log"}).status, 0);
    for (const char* verb : {"get", "delete"}) {
        DeviceRun r = device({"reg", verb, key, "Log"});
        EXPECT_EQ(r.status, 1) << verb;
        EXPECT_EQ(r.out, "");
        EXPECT_TRUE(contains(r.err, "no value"));
    }
    EXPECT_EQ(device({"reg", "get", "HKEY_BOGUS\\Software", "Log"}).status, 2);

    // "--help" where a value belongs is refused and sets nothing.
    DeviceRun r = device({"reg", "set", key, "Theme", "--string", "--help"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(contains(r.err, "write --string=--help for that value"));
    EXPECT_EQ(device({"reg", "get", key, "Theme"}).status, 1) << "nothing was set";

    // --help as an option asks for help, and that is all the command does.
    DeviceRun help = device({"reg", "set", key, "Theme", "--string", "night", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.starts_with("usage: quillmo-device reg set")) << help.out;
    EXPECT_EQ(device({"reg", "get", key, "Theme"}).status, 1) << "nothing was set";

    EXPECT_EQ(device({"reg", "set", key, "Theme", "--string=--help"}).status, 0);
    EXPECT_EQ(device({"reg", "get", key, "Theme"}).out, "--help\n");
}

TEST(RegCommands, ARegistryWithADamagedTableIsNamedAndCrashesNothing) {
    TestDevice dev;
    // A registry.db whose values table has lost its columns.
    std::string path = (dev.device() / "registry.db").string();
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    sqlite3_exec(db, "CREATE TABLE vals(x)", nullptr, nullptr, nullptr);
    sqlite3_close(db);

    const std::string key = "HKEY_CURRENT_USER\\Software\\Zelvor";
    for (auto args : {std::vector<std::string>{"reg", "get", key, "Log"},
                      std::vector<std::string>{"reg", "set", key, "Log", "--number", "1"}}) {
        DeviceRun r = device(args);
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(contains(r.err, path + " has a damaged table (no such column: key)"));
    }
    // The store works on; only its unread counter cannot be published.
    DeviceRun filed = device({"sms", "deliver", "--from", "1", "hello"});
    EXPECT_EQ(filed.status, 0) << filed.err;
}
