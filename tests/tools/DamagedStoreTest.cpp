// A message store that cannot be read in full: every command that reads it
// fails with one line naming the file, and nothing it writes replaces good
// data.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/Contains.h"
#include "support/DamageTable.h"
#include "support/Files.h"
#include "tools/DeviceRun.h"

namespace fs = std::filesystem;

namespace {

TEST(DamagedStore, ListExportAndChatsFailAndTheLastGoodBackupStays) {
    InitedDevice dev;
    for (const char* from : {"+100", "+200", "+300"})
        device_ok({"sms", "deliver", "--from", from, "hello"});
    fs::path backup = dev.program() / "backup.xml";
    device_ok({"sms", "export", backup.string()});
    std::string good = read_file(backup);

    std::string store = (dev.device() / "store.db").string();
    damage_table(store, "messages");

    for (auto args : {std::vector<std::string>{"sms", "list", "--json"},
                      std::vector<std::string>{"sms", "export", backup.string()},
                      std::vector<std::string>{"chats", "--json"}}) {
        DeviceRun r = device(args);
        EXPECT_EQ(r.status, 1) << args[1];
        EXPECT_EQ(r.out, "") << args[1];
        EXPECT_TRUE(contains(r.err, store));
        EXPECT_EQ(lines(r.err).size(), 1u) << r.err;
    }
    EXPECT_TRUE(contains(device({"sms", "list"}).err, "store.db is damaged"));
    EXPECT_EQ(read_file(backup), good);
}

}  // namespace
