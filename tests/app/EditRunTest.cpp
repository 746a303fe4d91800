// Writing into edit fields as a user does: the real program, headless, tapped
// and typed into by a script, dumped and photographed.
#include <gtest/gtest.h>

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

class EditRun : public ProgramRunFixture {
protected:
    std::string read(const std::string& name) const { return read_file(file(name)); }
};

TEST_F(EditRun, TypingEditsAndSelectsTheFieldsTextAndClearingBringsBackTheHint) {
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
    std::string memo = read("memo.json");
    EXPECT_TRUE(contains(memo, R"j("text":"Dear Anna,\nsee you at noon.Привет 😀 :)")j")) << memo;
    expect_shot_golden(shot, "test_edit_240x320_96");

    // The label_edit's hint gave way to the typed text and its clear button.
    std::string filter = read("filter.json");
    EXPECT_TRUE(contains(filter, R"("kind":"edit","id":"#edit")")) << filter;
    EXPECT_TRUE(contains(filter, R"("text":"Анна")"));
    EXPECT_TRUE(contains(filter, R"("kind":"button","id":"clear")"));
    EXPECT_FALSE(contains(filter, R"("text":"Search chats")"));
    std::string cleared = read("cleared.json");
    EXPECT_TRUE(contains(cleared, R"("text":"Search chats")")) << cleared;
    EXPECT_FALSE(contains(cleared, R"("id":"clear")"));
}

}  // namespace
