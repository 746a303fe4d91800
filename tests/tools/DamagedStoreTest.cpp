// A message store that cannot be read in full: every command that reads it
// fails with one line naming the file, and nothing it writes replaces good
// data.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/DamageTable.h"
#include "support/TestDevice.h"
#include "tools/DeviceRun.h"

namespace fs = std::filesystem;

namespace {

std::string read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(DamagedStore, ListExportAndChatsFailAndTheLastGoodBackupStays) {
    TestDevice dev;
    ASSERT_EQ(device({"init"}).status, 0);
    for (const char* from : {"+100", "+200", "+300"})
        ASSERT_EQ(device({"sms", "deliver", "--from", from, "hello"}).status, 0);
    fs::path backup = dev.program() / "backup.xml";
    ASSERT_EQ(device({"sms", "export", backup.string()}).status, 0);
    std::string good = read(backup);

    std::string store = (dev.device() / "store.db").string();
    damage_table(store, "messages");

    for (auto args : {std::vector<std::string>{"sms", "list", "--json"},
                      std::vector<std::string>{"sms", "export", backup.string()},
                      std::vector<std::string>{"chats", "--json"}}) {
        DeviceRun r = device(args);
        EXPECT_EQ(r.status, 1) << args[1];
        EXPECT_EQ(r.out, "") << args[1];
        EXPECT_NE(r.err.find(store), std::string::npos) << r.err;
        EXPECT_EQ(lines(r.err).size(), 1u) << r.err;
    }
    EXPECT_NE(device({"sms", "list"}).err.find("store.db is damaged"), std::string::npos);
    EXPECT_EQ(read(backup), good);
}

}  // namespace
