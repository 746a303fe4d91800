// The command line of quillmo-device as a whole: help, usage errors, the
// missing device folder, and "init".
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include "support/Contains.h"
#include "support/Files.h"
#include "support/TestDevice.h"
#include "support/UnreadCounter.h"
#include "tools/DeviceRun.h"

namespace fs = std::filesystem;

TEST(DeviceCommandLine, HelpAtEveryLevelGoesToStdoutWithStatusZero) {
    TestDevice dev;
    for (std::vector<std::string> args : {std::vector<std::string>{"--help"},
                                          {"sms", "--help"},
                                          {"reg", "--help"},
                                          {"init", "--help"},
                                          {"sms", "add", "--help"},
                                          {"sms", "add", "--folder", "nowhere", "--help"},
                                          {"reg", "set", "--help"},
                                          {"sms", "generate", "--help"}}) {
        DeviceRun r = device(args);
        EXPECT_EQ(r.status, 0) << args.back();
        EXPECT_TRUE(r.out.starts_with("usage: quillmo-device")) << r.out;
        EXPECT_EQ(r.err, "");
    }
    // The overview names every command; the help of one names its options.
    std::string overview = device({"--help"}).out;
    for (const char* word : {"init", "sms deliver", "sms import", "sms generate", "reg delete"})
        EXPECT_TRUE(contains(overview, word)) << word;
    EXPECT_TRUE(contains(device({"sms", "transmit", "--help"}).out, "--fail NUMBER"));
    // After "--" the word is a message text, not a request for help.
    EXPECT_EQ(device({"init"}).status, 0);
    DeviceRun text = device({"sms", "deliver", "--from", "123", "--", "--help"});
    EXPECT_EQ(text.status, 0);
    EXPECT_FALSE(text.out.starts_with("usage"));
}

TEST(DeviceCommandLine, UsageErrorsExitTwoWithOneLineAndWriteNothing) {
    InitedDevice dev;
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"frobnicate"},
        {"sms"},
        {"sms", "frobnicate"},
        {"sms", "deliver", "hello"},                            // no --from
        {"sms", "deliver", "--from", "1", "--from", "2", "x"},  // repeated
        {"sms", "deliver", "--from", "1"},                      // no text
        {"sms", "deliver", "--from", "1", "a", "b"},            // two texts
        {"sms", "deliver", "--from", "1", "--bogus", "x"},
        {"sms", "deliver", "--from", "1", "--time", "2026-02-31T10:00", "x"},
        {"sms", "deliver", "--from", "1", "--read=yes", "x"},
        {"sms", "deliver", "--from"},
        {"sms", "add", "x"},  // no folder
        {"sms", "add", "--folder", "trash", "--from", "1", "x"},
        {"sms", "add", "--folder", "inbox", "x"},  // neither --from nor --to
        {"sms", "add", "--folder", "inbox", "--from", "1", "--to", "2", "x"},
        {"sms", "add", "--folder", "sent", "--to", "2", "--name", "N", "x"},
        {"sms", "add", "--folder", "sent", "--to", "=Bob", "x"},
        {"sms", "add", "--folder", "sent", "--to", "2", "--flags", "0x1G", "x"},
        {"sms", "add", "--folder", "sent", "--to", "2", "--flags", "4294967296", "x"},
        {"sms", "list", "--folder", "junk"},
        {"sms", "delete", "xyz"},
        {"sms", "mark-read"},
        {"sms", "generate", "--messages", "10"},
        {"sms", "generate", "--messages", "10", "--chats", "11"},
        {"sms", "generate", "--messages", "0", "--chats", "0"},
        {"reg", "get", "HKEY_NOWHERE\\x", "v"},
        {"reg", "set", "HKEY_CURRENT_USER\\x", "v"},
        {"reg", "set", "HKEY_CURRENT_USER\\x", "v", "--string", "a", "--number", "1"},
        {"reg", "set", "HKEY_CURRENT_USER\\x", "v", "--number", "-1"},
        {"chats", "--jsn"},
    };
    for (const auto& args : bad) {
        DeviceRun r = device(args);
        std::string shown = args.empty() ? "(none)" : args.back();
        EXPECT_EQ(r.status, 2) << shown;
        EXPECT_EQ(r.out, "") << shown;
        EXPECT_TRUE(r.err.starts_with("quillmo-device: ")) << r.err;
        EXPECT_EQ(lines(r.err).size(), 1u) << r.err;
    }
    EXPECT_EQ(device({"sms", "list"}).out, device({"sms", "list"}).out);
    EXPECT_EQ(lines(device({"sms", "list"}).out).size(), 1u)
        << "only the heading: nothing was filed";
}

TEST(DeviceCommandLine, CommandsOtherThanInitNeedAnExistingDeviceFolder) {
    TestDevice dev;
    fs::remove_all(dev.device());
    for (std::vector<std::string> args :
         {std::vector<std::string>{"sms", "list"},
          {"sms", "deliver", "--from", "1", "x"},
          {"sms", "add", "--folder", "outbox", "--to", "1", "x"},
          {"sms", "transmit"},
          {"sms", "generate", "--messages", "5", "--chats", "2"},
          {"reg", "get", "HKEY_CURRENT_USER\\Software", "v"},
          {"reg", "set", "HKEY_CURRENT_USER\\Software", "v", "--number", "1"},
          {"chats", "--json"}}) {
        DeviceRun r = device(args);
        EXPECT_EQ(r.status, 2) << args.back();
        EXPECT_EQ(r.out, "");
        EXPECT_TRUE(contains(r.err, "does not exist; run 'quillmo-device init'"));
        EXPECT_FALSE(fs::exists(dev.device())) << "no device folder is created by accident";
    }
}

TEST(DeviceCommandLine, InitBuildsTheDeviceFolderAndCanRunAgain) {
    TestDevice dev;
    fs::remove_all(dev.device());
    DeviceRun first = device({"init"});
    ASSERT_EQ(first.status, 0) << first.err;
    for (const char* name : {"store.db", "registry.db", "contacts", "Temp", "Windows"})
        EXPECT_TRUE(fs::exists(dev.device() / name)) << name;

    fs::path tmail = dev.device() / "Windows" / "tmail.exe";
    struct stat st {};
    ASSERT_EQ(stat(tmail.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0755u);
    std::string script = read_file(tmail);
    EXPECT_TRUE(script.starts_with("#!/bin/sh\n"));
    EXPECT_TRUE(
        contains(script, "transport='" + (dev.program() / "quillmo-transport").string() + "'\n"));
    EXPECT_TRUE(contains(script, "exec \"$transport\" --once"));

    EXPECT_EQ(unread_counter(), 0u);

    // A second init keeps the messages and the counter.
    device_ok({"sms", "deliver", "--from", "+100", "unread"});
    device_ok({"init"});
    EXPECT_EQ(lines(device({"sms", "list"}).out).size(), 2u);
    EXPECT_EQ(unread_counter(), 1u);
}

TEST(DeviceCommandLine, TmailTransmitsTheOutboxOfTheDeviceItBelongsTo) {
    const char* program_dir = std::getenv("QUILLMO_PROGRAM_DIR");
    if (program_dir == nullptr || !fs::exists(fs::path(program_dir) / "quillmo-transport"))
        GTEST_SKIP() << "needs the built program folder (run through ctest)";
    TestDevice dev;
    setenv("QUILLMO_HOME", program_dir, 1);
    device_ok({"init"});
    device_ok({"sms", "add", "--folder", "outbox", "--to", "555", "hello"});

    // Started the way the application starts it, from an environment that
    // names no device folder: the script finds its own.
    std::string device_folder = dev.device().string();
    unsetenv("QUILLMO_DEVICE");
    std::string command = "'" + (dev.device() / "Windows" / "tmail.exe").string() + "' -RunInBKG";
    int status = std::system(command.c_str());
    setenv("QUILLMO_DEVICE", device_folder.c_str(), 1);
    ASSERT_EQ(status, 0);
    EXPECT_EQ(lines(device({"sms", "list", "--folder", "outbox"}).out).size(), 1u);
    EXPECT_EQ(lines(device({"sms", "list", "--folder", "sent"}).out).size(), 2u);
}
