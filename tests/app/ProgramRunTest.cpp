// The program as users and scripts meet it: a real quillmo process of the
// build, headless, driven by a script, dumped and photographed: the test
// skin's list and its submenu, a list dragged and flung, edit fields typed
// into, rich text and its links, buttons reached by taps and keys, and bad
// starts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "app/ShotGolden.h"
#include "support/ChildProcess.h"
#include "support/Contains.h"
#include "support/Files.h"
#include "support/ProgramRun.h"

namespace fs = std::filesystem;

namespace {

class ProgramRun : public ProgramRunFixture {};

TEST_F(ProgramRun, TheListAndItsSubmenuLookAsRecordedAndTheBackKeyClosesTheSubmenu) {
    // No log here: its frame-rate box would be in the pictures.
    auto path = [&](const char* name) { return file(name).string(); };
    auto run =
        start("test_list",
              write_script("s", "# the chat-list-sized test form\nshot " + path("list.png") +
                                    "\ndump " + path("list.json") +
                                    "\ntap-id btnMenu\nwait 400\ntap 120 141\nwait 400\nshot " +
                                    path("submenu.png") + "\ndump " + path("open.json") +
                                    "\nkey Backspace\nwait 400\ndump " + path("closed.json") +
                                    "\nquit\n"));
    ASSERT_EQ(run->wait(), 0) << run->err();
    expect_shot_golden(path("list.png"), "test_list_240x320_96");
    expect_shot_golden(path("submenu.png"), "test_list_submenu_240x320_96");

    std::string json = read_file(path("list.json"));
    // The one full form, with its visible elements, their rectangles and texts.
    EXPECT_TRUE(contains(json, R"("overlay":false)"));
    EXPECT_TRUE(contains(json, R"("kind":"text","id":"name1","x":60,"y":53)"));
    EXPECT_TRUE(contains(json, R"("text":"Anna Petrova")"));
    EXPECT_TRUE(contains(json, R"("kind":"button","id":"btnMenu")"));
    std::string shown = read_file(path("open.json"));
    EXPECT_TRUE(contains(shown, R"("overlay":true)"));
    EXPECT_TRUE(contains(shown, R"("text":"Sub two")"));
    EXPECT_TRUE(contains(shown, R"("kind":"button","id":"Minimize")"));
    EXPECT_FALSE(contains(read_file(path("closed.json")), R"("overlay":true)"));
}

// The indices of the rows the list holds, in order, from a dump.
std::vector<int> rows_in(const std::string& json) {
    std::vector<int> rows;
    std::regex row(R"re("id":"row(\d+)")re");
    for (auto it = std::sregex_iterator(json.begin(), json.end(), row);
         it != std::sregex_iterator(); ++it)
        rows.push_back(std::stoi((*it)[1]));
    return rows;
}

TEST_F(ProgramRun, ADragAndAFlingScrollTheListAndOnlyTheRowsInViewExist) {
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

TEST_F(ProgramRun, TypingEditsAndSelectsTheFieldsTextAndClearingBringsBackTheHint) {
    std::string shot = file("edit.png").string();
    auto run =
        start("test_edit", write_script("script",
                                        "tap 120 40\ntype Привет 😀 :-)\nkey Left\nkey Backspace\n"
                                        "keydown Shift\nkey Left\nkey Left\nkeyup Shift\n"
                                        "dump " +
                                            file("memo.json").string() + "\nshot " + shot +
                                            "\ntap-id filter\ntype Анна\ndump " +
                                            file("filter.json").string() + "\ntap-id clear\ndump " +
                                            file("cleared.json").string() + "\nquit\n"));
    ASSERT_EQ(run->wait(), 0) << run->err();
    std::string memo = read_file(file("memo.json"));
    EXPECT_TRUE(contains(memo, R"j("text":"Dear Anna,\nsee you at noon.Привет 😀 :)")j")) << memo;
    expect_shot_golden(shot, "test_edit_240x320_96");

    // The label_edit's hint gave way to the typed text and its clear button.
    std::string filter = read_file(file("filter.json"));
    EXPECT_TRUE(contains(filter, R"("kind":"edit","id":"#edit")")) << filter;
    EXPECT_TRUE(contains(filter, R"("text":"Анна")"));
    EXPECT_TRUE(contains(filter, R"("kind":"button","id":"clear")"));
    EXPECT_FALSE(contains(filter, R"("text":"Search chats")"));
    std::string cleared = read_file(file("cleared.json"));
    EXPECT_TRUE(contains(cleared, R"("text":"Search chats")")) << cleared;
    EXPECT_FALSE(contains(cleared, R"("id":"clear")"));
}

TEST_F(ProgramRun, TheRichTextFormLooksAsRecorded) {
    const struct {
        std::string screen, golden;
    } screens[] = {{"240x320@96", "test_richtext_240x320_96"},
                   {"480x800@192", "test_richtext_480x800_192"},
                   {"1080x2400@384", "test_richtext_1080x2400_384"}};
    for (const auto& s : screens) {
        std::string shot = file(s.golden + ".png").string();
        auto run = start("test_richtext", write_script("s", "shot " + shot + "\nquit\n"), {},
                         {"QUILLMO_SCREEN=" + s.screen});
        ASSERT_EQ(run->wait(), 0) << run->err();
        expect_shot_golden(shot, s.golden);
    }
}

TEST_F(ProgramRun, TappingALinkHandsOverItsTextAndRunsNothing) {
    switch_log_on();
    // The first rich text line holds one link from its left edge.
    auto run = start("test_richtext", write_script("s", "tap 12 10\nwait 50\nquit\n"));
    ASSERT_EQ(run->wait(), 0) << run->err();
    EXPECT_TRUE(contains(log_text(), "RichTextElement link www.quillmo.example"));
}

TEST_F(ProgramRun, TapsAndKeysReachTheFormsButtons) {
    switch_log_on();
    const std::string script = "tap-id btnCancel\nkey SOFT_RIGHT\nwait 50\nquit\n";
    auto run = start("test_dialog", write_script("s", script));
    ASSERT_EQ(run->wait(), 0) << run->err();
    std::string log = log_text();
    EXPECT_TRUE(contains(log, "FormPreview button btnCancel"));
    EXPECT_TRUE(contains(log, "FormPreview button btnOk"));
    EXPECT_TRUE(contains(log, "WM_KEYDOWN = 113 (SOFT_RIGHT) lParam=1 ticks="));
    EXPECT_LT(log.find("btnCancel"), log.find("FormPreview button btnOk"));

    // The keys-only handset takes no stylus at all.
    fs::remove(device_.device() / "Temp" / "quillmo.txt");
    auto keys_only =
        start("test_dialog", write_script("k", script), {}, {"QUILLMO_PROFILE=smartphone"});
    ASSERT_EQ(keys_only->wait(), 0) << keys_only->err();
    log = log_text();
    EXPECT_TRUE(contains(log, "static_capability_is_smartphone=SmartPhone"));
    EXPECT_FALSE(contains(log, "FormPreview button btnCancel"));
    EXPECT_TRUE(contains(log, "FormPreview button btnOk"));
}

TEST_F(ProgramRun, BadStartsEndWithOneClearLine) {
    struct Case {
        std::string form, script;
        std::vector<std::string> env;
        int status;
        std::string says;
    };
    std::string good = write_script("good", "quit\n");
    std::string unknown = write_script("unknown", "wait 1\nfrobnicate 3\n");
    std::string bad_number = write_script("number", "tap 10 ten\n");
    std::string missing = write_script("missing", "wait-for-id ghost 50\nquit\n");
    for (const Case& c : {
             Case{"test_list", unknown, {}, 2, "line 2: unknown command \"frobnicate\""},
             Case{"test_list", bad_number, {}, 2, "\"ten\" is not a whole number"},
             Case{"test_list", file("none").string(), {}, 2, "no script"},
             Case{"test_list", good, {"QUILLMO_SCREEN=480by800"}, 2, "QUILLMO_SCREEN"},
             Case{"no_such_node", good, {}, 1, "the skin has no node \"no_such_node\""},
             Case{"test_list", good, {"QUILLMO_VIDEO=vga"}, 1, "QUILLMO_VIDEO"},
             Case{"test_list", missing, {}, 1, "no visible element \"ghost\" after 50 ms"},
         }) {
        auto run = start(c.form, c.script, {}, c.env);
        EXPECT_EQ(run->wait(), c.status) << c.says;
        std::string err = run->err();
        EXPECT_TRUE(contains(err, c.says));
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    }
}

}  // namespace
