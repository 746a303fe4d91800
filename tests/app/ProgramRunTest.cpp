// The program as users and scripts meet it: a real quillmo process, headless,
// driven by a script and photographed; bad starts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/ShotGolden.h"
#include "support/ChildProcess.h"
#include "support/Contains.h"
#include "support/Files.h"
#include "support/ProgramRun.h"

namespace fs = std::filesystem;

namespace {

class ProgramRun : public ProgramRunFixture {};

TEST_F(ProgramRun, AScriptedRunPhotographsAndDumpsTheScreen) {
    std::string shot = file("list.png").string();
    std::string dump = file("list.json").string();
    auto run = start("test_list", write_script("s", "# the chat-list-sized test form\nshot " +
                                                        shot + "\ndump " + dump + "\nquit\n"));
    ASSERT_EQ(run->wait(), 0) << run->err();
    expect_shot_golden(shot, "test_list_240x320_96");

    std::string json = read_file(dump);
    // The one full form, with its visible elements, their rectangles and texts.
    EXPECT_TRUE(contains(json, R"("overlay":false)"));
    EXPECT_TRUE(contains(json, R"("kind":"text","id":"name1","x":60,"y":53)"));
    EXPECT_TRUE(contains(json, R"("text":"Anna Petrova")"));
    EXPECT_TRUE(contains(json, R"("kind":"button","id":"btnMenu")"));
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
