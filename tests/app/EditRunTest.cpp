// Writing into edit fields as a user does: the real program, headless, tapped
// and typed into by a script, dumped and photographed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "draw/RenderSurface.h"
#include "draw/pictures/PngReader.h"
#include "support/ChildProcess.h"
#include "support/Contains.h"
#include "support/Golden.h"
#include "support/ProgramRun.h"

namespace fs = std::filesystem;

namespace {

class EditRun : public ProgramRunFixture {
protected:
    int run(const std::string& script, const std::string& screen = "240x320@96") {
        auto child =
            start("test_edit", write_script("script", script), {}, {"QUILLMO_SCREEN=" + screen});
        int status = child->wait();
        EXPECT_EQ(status, 0) << child->err();
        return status;
    }

    std::string read(const std::string& name) const {
        std::ifstream in(file(name));
        return {(std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()};
    }
};

TEST_F(EditRun, TypingEditsAndSelectsTheFieldsText) {
    std::string shot = file("edit.png").string();
    ASSERT_EQ(run("tap 120 40\n"
                  "type Привет 😀 :-)\n"
                  "key Left\n"
                  "key Backspace\n"
                  "keydown Shift\n"
                  "key Left\n"
                  "key Left\n"
                  "keyup Shift\n"
                  "dump " +
                  file("memo.json").string() +
                  "\n"
                  "shot " +
                  shot +
                  "\n"
                  "tap-id filter\n"
                  "type Анна\n"
                  "dump " +
                  file("filter.json").string() + "\nquit\n"),
              0);
    std::string memo = read("memo.json");
    EXPECT_TRUE(contains(memo, R"j("text":"Dear Anna,\nsee you at noon.Привет 😀 :)")j")) << memo;
    std::string error;
    auto pixels = PngReader::read(shot, &error);
    ASSERT_TRUE(pixels) << error;
    RenderSurface surface(*pixels);
    expect_golden(surface, QUILLMO_APP_GOLDEN_DIR, "test_edit_240x320_96");

    // The label_edit's hint gave way to the typed text and its clear button.
    std::string filter = read("filter.json");
    EXPECT_TRUE(contains(filter, R"("kind":"edit","id":"#edit")")) << filter;
    EXPECT_TRUE(contains(filter, R"("text":"Анна")"));
    EXPECT_TRUE(contains(filter, R"("kind":"button","id":"clear")"));
    EXPECT_FALSE(contains(filter, R"("text":"Search chats")"));
}

TEST_F(EditRun, ClearingTheFieldBringsBackTheHint) {
    ASSERT_EQ(
        run("tap-id filter\ntype x\ntap-id clear\ndump " + file("d.json").string() + "\nquit\n"),
        0);
    std::string dump = read("d.json");
    EXPECT_TRUE(contains(dump, R"("text":"Search chats")")) << dump;
    EXPECT_FALSE(contains(dump, R"("id":"clear")"));
}

}  // namespace
