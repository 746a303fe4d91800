// Rich text in the running program: the test skin's rich text node, shown
// headless, photographed, and a link tapped with the stylus.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "draw/RenderSurface.h"
#include "draw/pictures/PngReader.h"
#include "platform/Registry.h"
#include "platform/Utf16.h"
#include "support/ChildProcess.h"
#include "support/Contains.h"
#include "support/Golden.h"
#include "support/TestDevice.h"

namespace fs = std::filesystem;

namespace {

class RichTextRun : public ::testing::Test {
protected:
    RichTextRun() {
        fs::create_directories(run_dir());
        fs::permissions(run_dir(), fs::perms::owner_all);
    }

    fs::path run_dir() const { return device_.device().parent_path() / "run"; }
    fs::path file(const std::string& name) const { return device_.device().parent_path() / name; }

    std::string write_script(const std::string& name, const std::string& text) {
        std::ofstream(file(name)) << text;
        return file(name).string();
    }

    std::unique_ptr<ChildProcess> start(const std::string& screen, const std::string& script) {
        std::string program_dir = std::getenv("QUILLMO_PROGRAM_DIR");
        return std::make_unique<ChildProcess>(
            program_dir + "/quillmo", std::vector<std::string>{},
            std::vector<std::string>{"QUILLMO_VIDEO=headless", "QUILLMO_SCREEN=" + screen,
                                     "QUILLMO_HOME=" + program_dir,
                                     "XDG_RUNTIME_DIR=" + run_dir().string(),
                                     "QUILLMO_FORM=test_richtext", "QUILLMO_SCRIPT=" + script,
                                     std::string("FONTCONFIG_FILE=") + QUILLMO_TEST_FONTS_CONF});
    }

    std::string log_text() const {
        std::ifstream in(device_.device() / "Temp" / "quillmo.txt", std::ios::binary);
        std::string raw((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::u16string text;
        for (size_t i = 2; i + 1 < raw.size(); i += 2)
            text += static_cast<char16_t>(static_cast<uint8_t>(raw[i]) |
                                          (static_cast<uint8_t>(raw[i + 1]) << 8));
        return utf16::to_utf8(text);
    }

    TestDevice device_;
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
        auto run = start(s.screen, write_script("s", "shot " + shot + "\nquit\n"));
        ASSERT_EQ(run->wait(), 0) << run->err();
        std::string error;
        auto pixels = PngReader::read(shot, &error);
        ASSERT_TRUE(pixels) << error;
        RenderSurface surface(*pixels);
        expect_golden(surface, QUILLMO_APP_GOLDEN_DIR, s.golden);
    }
}

TEST_F(RichTextRun, TappingALinkHandsOverItsTextAndRunsNothing) {
    ASSERT_TRUE(registry::write_number(u"HKEY_CURRENT_USER\\Software\\Zelvor", u"Log", 1));
    // The first rich text line holds one link from its left edge.
    auto run = start("240x320@96", write_script("s", "tap 12 10\nwait 50\nquit\n"));
    ASSERT_EQ(run->wait(), 0) << run->err();
    EXPECT_TRUE(contains(log_text(), "RichTextElement link www.quillmo.example"));
}
