// Rich text in the running program: the test skin's rich text node, shown
// headless, photographed, and a link tapped with the stylus.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/ShotGolden.h"
#include "platform/Registry.h"
#include "platform/Utf16.h"
#include "support/ChildProcess.h"
#include "support/Contains.h"
#include "support/ProgramRun.h"

namespace fs = std::filesystem;

namespace {

class RichTextRun : public ProgramRunFixture {
protected:
    std::unique_ptr<ChildProcess> start_on(const std::string& screen, const std::string& script) {
        return start("test_richtext", script, {}, {"QUILLMO_SCREEN=" + screen});
    }
};

}  // namespace

TEST_F(RichTextRun, TheRichTextFormLooksAsRecorded) {
    const struct {
        std::string screen, golden;
    } screens[] = {{"240x320@96", "test_richtext_240x320_96"},
                   {"480x800@192", "test_richtext_480x800_192"},
                   {"1080x2400@384", "test_richtext_1080x2400_384"}};
    for (const auto& s : screens) {
        std::string shot = file(s.golden + ".png").string();
        auto run = start_on(s.screen, write_script("s", "shot " + shot + "\nquit\n"));
        ASSERT_EQ(run->wait(), 0) << run->err();
        expect_shot_golden(shot, s.golden);
    }
}

TEST_F(RichTextRun, TappingALinkHandsOverItsTextAndRunsNothing) {
    ASSERT_TRUE(registry::write_number(u"HKEY_CURRENT_USER\\Software\\Zelvor", u"Log", 1));
    // The first rich text line holds one link from its left edge.
    auto run = start_on("240x320@96", write_script("s", "tap 12 10\nwait 50\nquit\n"));
    ASSERT_EQ(run->wait(), 0) << run->err();
    EXPECT_TRUE(contains(log_text(), "RichTextElement link www.quillmo.example"));
}
