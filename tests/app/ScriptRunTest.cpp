// Scripts are checked whole before anything runs: what a script may say and
// how a mistake is reported.
#include <gtest/gtest.h>

#include "app/ScriptRun.h"
#include "support/Contains.h"

namespace {

std::string error_of(std::string_view text) {
    try {
        ScriptRun::parse(text, "t.script");
    } catch (const ScriptError& e) {
        return e.what();
    }
    return "";
}

}  // namespace

TEST(ScriptRun, ReadsEveryCommand) {
    auto script = ScriptRun::parse(
        "# a comment\n"
        "\n"
        "tap 10 20\r\n"
        "  down 1 2\n"
        "move -5 7\n"
        "up 3 4\n"
        "drag 0 0 100 200 300\n"
        "key SOFT_LEFT\n"
        "keydown Esc\n"
        "keyup 7\n"
        "type  Привет :) мир \n"
        "tap-id btnOk\n"
        "wait 0\n"
        "wait-for-id list 2000\n"
        "shot out dir/a b.png\n"
        "dump x.json\n"
        "quit\n",
        "t.script");
    ASSERT_TRUE(script);
    EXPECT_FALSE(script->finished());
    EXPECT_TRUE(script->next_step_due());
}

TEST(ScriptRun, NamesTheLineOfAMistake) {
    EXPECT_TRUE(contains(error_of("wait 1\n\nfrobnicate\n"),
                         "t.script line 3: unknown command \"frobnicate\""));
    EXPECT_TRUE(contains(error_of("tap 1\n"), "line 1: \"tap\" takes 2 arguments"));
    EXPECT_TRUE(contains(error_of("tap 1 2 3\n"), "takes 2 arguments"));
    EXPECT_TRUE(contains(error_of("tap 1 x\n"), "\"x\" is not a whole number"));
    EXPECT_TRUE(contains(error_of("tap 1 99999999999\n"), "is not a whole number"));
    EXPECT_TRUE(contains(error_of("key Enterr\n"), "unknown key \"Enterr\""));
    EXPECT_TRUE(contains(error_of("key enter\n"), "unknown key"));
    EXPECT_TRUE(contains(error_of("wait -1\n"), "a time must lie between"));
    EXPECT_TRUE(contains(error_of("drag 0 0 1 1 -5\n"), "a time must lie between"));
    EXPECT_TRUE(contains(error_of("shot\n"), "shot needs an argument"));
    EXPECT_TRUE(contains(error_of("type   \n"), "type needs an argument"));
    EXPECT_TRUE(contains(error_of("quit now\n"), "\"quit\" takes 0 arguments"));
    EXPECT_TRUE(contains(error_of(std::string_view("tap 1 2\0\n", 8)), "a zero byte"));
    // What reaches a terminal is filtered.
    EXPECT_TRUE(contains(error_of("\x1b[2Jboom\n"), "unknown command \""));
    EXPECT_EQ(error_of("\x1b[2Jboom\n").find('\x1b'), std::string::npos);
}
