#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/Registry.h"
#include "platform/Shell.h"
#include "platform/Utf16.h"
#include "support/LogCapture.h"
#include "support/TestDevice.h"

namespace fs = std::filesystem;

namespace {

// Each recording stand-in writes its arguments, one a line, to "<itself>.args"
// (renamed into place, so that a file seen is complete).
const char kRecorder[] =
    "#!/bin/sh\n"
    "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$0.part\" && mv \"$0.part\" \"$0.args\"\n";

class ShellTest : public ::testing::Test {
protected:
    ShellTest() : bin_(device_.program() / "bin"), windows_(device_.device() / "Windows") {
        fs::create_directories(bin_);
        fs::create_directories(windows_);
        install(bin_ / "xdg-open");
        const char* path = std::getenv("PATH");
        saved_path_ = path != nullptr ? path : "";
        setenv("PATH", (bin_.string() + ":" + saved_path_).c_str(), 1);
    }
    ~ShellTest() override { setenv("PATH", saved_path_.c_str(), 1); }

    static void install(const fs::path& program) {
        std::ofstream(program) << kRecorder;
        fs::permissions(program, fs::perms::owner_all);
    }
    // The arguments the stand-in was started with, once it has run.
    static std::vector<std::string> arguments(const fs::path& program) {
        fs::path args = program.string() + ".args";
        for (int i = 0; i < 500 && !fs::exists(args); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::vector<std::string> out;
        std::ifstream in(args);
        for (std::string line; std::getline(in, line);) out.push_back(line);
        fs::remove(args);
        return out;
    }
    using Args = std::vector<std::string>;

    TestDevice device_;
    fs::path bin_, windows_;
    std::string saved_path_;
};

TEST_F(ShellTest, LinksGoToTheDesktopOpenerAsOneHarmlessArgument) {
    LogCapture log;
    install(windows_ / "tmail.exe");
    fs::path opener = bin_ / "xdg-open";

    EXPECT_TRUE(
        shell::execute_file(u"%windows%/iexplore.exe", u"http://a.example/x y\"`id`\n$(id)"));
    EXPECT_EQ(arguments(opener), (Args{"http://a.example/x%20y%22%60id%60%0A$(id)"}));
    EXPECT_TRUE(log.has("execute_file(" + windows_.string() +
                        "/iexplore.exe} {http://a.example/x y\"`id`⏎$(id))\n"));

    // A mail link does not reach the handset's messaging program.
    EXPECT_TRUE(shell::execute_file(u"%windows%/tmail.exe", u"mailto:анна@example.org"));
    EXPECT_EQ(arguments(opener), (Args{"mailto:%D0%B0%D0%BD%D0%BD%D0%B0@example.org"}));
    EXPECT_FALSE(fs::exists(windows_ / "tmail.exe.args"));

    EXPECT_TRUE(shell::execute_file(u"%windows%/iexplore.exe", u"www.example.ru"));
    EXPECT_EQ(arguments(opener), (Args{"http://www.example.ru"}));
    EXPECT_TRUE(shell::execute_file(u"%windows%/iexplore.exe", u"-e.com"));
    EXPECT_EQ(arguments(opener), (Args{"http://-e.com"}));
}

TEST_F(ShellTest, ProgramsGetAnArgumentVectorAndDocumentsTheOpener) {
    LogCapture log;
    install(windows_ / "tmail.exe");
    EXPECT_TRUE(shell::execute_file(u"%windows%\\tmail.exe", u"-RunInBKG \"two words\" $(id);x"));
    EXPECT_EQ(arguments(windows_ / "tmail.exe"), (Args{"-RunInBKG", "two words", "$(id);x"}));

    fs::create_directories(device_.program() / "help");
    std::ofstream(device_.program() / "help" / "english.htm") << "<html></html>";
    EXPECT_TRUE(shell::execute_file(u"%app_path%/help/english.htm", u""));
    EXPECT_EQ(arguments(bin_ / "xdg-open"),
              (Args{(device_.program() / "help" / "english.htm").string()}));

    // A relative name that xdg-open would take for an option is refused.
    fs::path cwd = fs::current_path();
    fs::current_path(device_.program() / "help");
    std::ofstream("-x.htm") << "<html></html>";
    EXPECT_FALSE(shell::execute_file(u"-x.htm", u""));
    fs::current_path(cwd);
    EXPECT_FALSE(shell::execute_file(u"%windows%/missing.exe", u"-x"));
    EXPECT_FALSE(fs::exists(bin_ / "xdg-open.args"));
    EXPECT_TRUE(log.has("execute_file: refused a name that starts with \"-\"\n"));
    EXPECT_TRUE(log.has("execute_file: no such program or document\n"));
}

TEST_F(ShellTest, CallsDialTheNumberThroughTheDesktop) {
    LogCapture log;
    EXPECT_TRUE(shell::make_call(u"+7 (912) 345-67-89"));
    EXPECT_EQ(arguments(bin_ / "xdg-open"), (Args{"tel:+79123456789"}));
    EXPECT_TRUE(shell::make_call(u"*100#;-x"));
    EXPECT_EQ(arguments(bin_ / "xdg-open"), (Args{"tel:*100%23"}));
    EXPECT_FALSE(shell::make_call(u"BANK"));

    setenv("PATH", (device_.program() / "empty").c_str(), 1);
    EXPECT_FALSE(shell::make_call(u"123"));
    EXPECT_FALSE(shell::execute_file(u"http://example.com", u""));
    EXPECT_TRUE(log.has("make_call: not a phone number\n"));
    EXPECT_TRUE(log.has("make_call: xdg-open not found\n"));
    EXPECT_TRUE(log.has("execute_file: xdg-open not found\n"));
}

TEST_F(ShellTest, AnApplicationIsInstalledWhenItsFileIsWhereTheRegistrySays) {
    const char16_t* key = u"HKEY_LOCAL_MACHINE\\Software\\Apps\\Zelvor Moodcard";
    EXPECT_EQ(shell::installed_app_path(u"Zelvor Moodcard", u"Moodcard.exe"), u"");
    ASSERT_TRUE(registry::write_string(key, u"InstallDir", u""));
    EXPECT_EQ(shell::installed_app_path(u"Zelvor Moodcard", u"Moodcard.exe"), u"");
    ASSERT_TRUE(registry::write_string(key, u"InstallDir", u"%program_files%\\Moodcard"));
    EXPECT_EQ(shell::installed_app_path(u"Zelvor Moodcard", u"Moodcard.exe"), u"");

    fs::path folder = device_.device() / "Program Files" / "Moodcard";
    fs::create_directories(folder / "Moodcard.exe");  // a folder is no program
    EXPECT_EQ(shell::installed_app_path(u"Zelvor Moodcard", u"Moodcard.exe"), u"");
    fs::remove(folder / "Moodcard.exe");
    install(folder / "Moodcard.exe");
    EXPECT_EQ(shell::installed_app_path(u"Zelvor Moodcard", u"Moodcard.exe"),
              utf16::from_utf8((folder / "Moodcard.exe").string()));
}

}  // namespace
