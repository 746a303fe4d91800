// Lists and menus in the real program: a ten-thousand-row list dragged and
// flung by a script, and a menu with a submenu that the back key closes.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <string>
#include <thread>

#include "app/ShotGolden.h"
#include "platform/Log.h"
#include "platform/Registry.h"
#include "platform/Utf16.h"
#include "support/ChildProcess.h"
#include "support/Contains.h"
#include "support/Files.h"
#include "support/ProgramRun.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

class ListRun : public ProgramRunFixture {};

// The indices of the rows the list holds, in order, from a dump.
std::vector<int> rows_in(const std::string& json) {
    std::vector<int> rows;
    std::regex row(R"re("id":"row(\d+)")re");
    for (auto it = std::sregex_iterator(json.begin(), json.end(), row);
         it != std::sregex_iterator(); ++it)
        rows.push_back(std::stoi((*it)[1]));
    return rows;
}

TEST_F(ListRun, ADragAndAFlingScrollTheListAndOnlyTheRowsInViewExist) {
    std::string before = file("before.json").string();
    std::string dragged = file("dragged.json").string();
    std::string flung = file("flung.json").string();
    auto run =
        start("test_list_vlist",
              write_script("s", "dump " + before + "\ndrag 120 300 120 200 1500\nwait 300\ndump " +
                                    dragged + "\ndrag 120 300 120 60 120\nwait 3000\ndump " +
                                    flung + "\nquit\n"));
    ASSERT_EQ(run->wait(), 0) << run->err();
    std::vector<int> first = rows_in(read_file(before));
    std::vector<int> slow = rows_in(read_file(dragged));
    std::vector<int> fast = rows_in(read_file(flung));
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(first.front(), 0);
    // A slow drag of 100 pixels moves about three rows of 32 and throws little.
    ASSERT_FALSE(slow.empty());
    EXPECT_GE(slow.front(), 2);
    EXPECT_LE(slow.front(), 6);
    // A quick one flings the list well past where the stylus let go.
    ASSERT_FALSE(fast.empty());
    EXPECT_GT(fast.front(), slow.front() + 12);
    for (const auto& rows : {first, slow, fast}) {
        EXPECT_LE(rows.size(), 11u) << "only the rows in view exist";
        for (size_t i = 1; i < rows.size(); ++i) EXPECT_EQ(rows[i], rows[i - 1] + 1);
    }
}

TEST_F(ListRun, AMenuOpensItsSubmenuAndTheBackKeyClosesIt) {
    // No log here: its frame-rate box would be in the picture.
    std::string shot = file("submenu.png").string();
    std::string open = file("open.json").string();
    std::string closed = file("closed.json").string();
    auto run =
        start("test_list",
              write_script("s", "tap-id btnMenu\nwait 400\ntap 120 141\nwait 400\nshot " + shot +
                                    "\ndump " + open + "\nkey Backspace\nwait 400\ndump " + closed +
                                    "\nquit\n"));
    ASSERT_EQ(run->wait(), 0) << run->err();
    std::string shown = read_file(open);
    EXPECT_TRUE(contains(shown, R"("overlay":true)"));
    EXPECT_TRUE(contains(shown, R"("text":"Sub two")"));
    EXPECT_TRUE(contains(shown, R"("kind":"button","id":"Minimize")"));
    EXPECT_FALSE(contains(read_file(closed), R"("overlay":true)"));

    expect_shot_golden(shot, "test_list_submenu_240x320_96");
}

}  // namespace
