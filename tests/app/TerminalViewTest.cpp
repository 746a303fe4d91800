#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "app/TerminalView.h"
#include "platform/LocalTime.h"
#include "platform/Paths.h"
#include "platform/RegistryNotification.h"
#include "platform/store/StoreDatabase.h"
#include "support/Contains.h"
#include "support/TestDevice.h"

namespace {

struct ViewRun {
    int status;
    std::string out, err;
};

ViewRun run(const std::u16string& command_line) {
    std::ostringstream out, err;
    int status = TerminalView::run(command_line, out, err);
    return {status, out.str(), err.str()};
}

// No escape, bell or C1 control (U+009B, the one-byte CSI) reaches the
// terminal.
void expect_clean(const std::string& text) {
    EXPECT_FALSE(contains(text, "\x1b"));
    EXPECT_FALSE(contains(text, "\x07"));
    EXPECT_FALSE(contains(text, "\xc2\x9b"));
}

TEST(TerminalView, RunsTheStartedModelAndPrintsStoredTextFiltered) {
    TestDevice device;
    auto store = StoreDatabase::open(paths::device_folder_utf8(), nullptr);
    StoredMessage m;
    m.sender_number = u"+1555\x1b[2J0100";
    m.sender_name =
        u"\x1b]0;owned\x07"
        u"Eve\x9b";
    m.body = u"\x1b]52;c;ZWNobyBoaQ==\x07line\nnext\x1b[31m";
    m.delivery_time = local_time::now_utc();
    store->add_message(m);

    ViewRun alert = run(u"message");
    EXPECT_EQ(alert.status, 0);
    expect_clean(alert.out);
    EXPECT_TRUE(contains(alert.out, "line\nnext")) << "a body keeps its lines";

    ViewRun list = run(u"");
    EXPECT_EQ(list.status, 0);
    expect_clean(list.out);
    EXPECT_TRUE(contains(list.out, "Eve"));
    // The program's model is started: the request to start it on a new
    // message is in force, and its cache lies in the device folder.
    EXPECT_EQ(registry::notification_requests().size(), 1u);
    EXPECT_TRUE(std::filesystem::exists(device.device() / "cache"));

    ViewRun chat = run(u"open:5520100");
    EXPECT_EQ(chat.status, 0);
    expect_clean(chat.out);
    EXPECT_TRUE(contains(chat.out, "Eve"));

    ViewRun unknown = run(u"open:\x1b[2J");
    EXPECT_EQ(unknown.status, 1);
    expect_clean(unknown.err);
}

}  // namespace
