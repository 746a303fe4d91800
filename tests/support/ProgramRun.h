#pragma once
// The program as users and scripts meet it: a real quillmo process of the
// build, headless, showing a node of the test skin and playing a script,
// with its own device folder, runtime folder and the fonts the reference
// pictures were drawn with.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/Registry.h"
#include "support/ChildProcess.h"
#include "support/LogCapture.h"
#include "support/TestDevice.h"

class ProgramRunFixture : public ::testing::Test {
protected:
    ProgramRunFixture() {
        std::filesystem::create_directories(run_dir());
        std::filesystem::permissions(run_dir(), std::filesystem::perms::owner_all);
    }

    std::filesystem::path run_dir() const { return device_.device().parent_path() / "run"; }
    std::filesystem::path file(const std::string& name) const {
        return device_.device().parent_path() / name;
    }

    std::string write_script(const std::string& name, const std::string& text) {
        std::ofstream(file(name)) << text;
        return file(name).string();
    }

    // A quillmo process showing form on a 240x320@96 screen (env may set
    // another), playing script.
    std::unique_ptr<ChildProcess> start(const std::string& form, const std::string& script,
                                        std::vector<std::string> args = {},
                                        std::vector<std::string> env = {}) {
        std::string program_dir = std::getenv("QUILLMO_PROGRAM_DIR");
        std::vector<std::string> all = {
            "QUILLMO_VIDEO=headless",
            "QUILLMO_SCREEN=240x320@96",
            "QUILLMO_HOME=" + program_dir,
            "XDG_RUNTIME_DIR=" + run_dir().string(),
            "QUILLMO_FORM=" + form,
            "QUILLMO_SCRIPT=" + script,
            // The fonts the reference pictures were drawn with.
            std::string("FONTCONFIG_FILE=") + QUILLMO_TEST_FONTS_CONF,
        };
        all.insert(all.end(), env.begin(), env.end());
        return std::make_unique<ChildProcess>(program_dir + "/quillmo", args, all);
    }

    // The program's log (UTF-16LE with a byte-order mark) as UTF-8.
    std::string log_text() const {
        return log_file_text(device_.device() / "Temp" / "quillmo.txt");
    }

    void switch_log_on() {
        ASSERT_TRUE(registry::write_number(u"HKEY_CURRENT_USER\\Software\\Zelvor", u"Log", 1));
    }

    // Waits until the log holds text (the process writes it as it goes).
    bool log_shows(const std::string& text,
                   std::chrono::milliseconds limit = std::chrono::seconds(10)) {
        auto end = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < end) {
            if (log_text().find(text) != std::string::npos) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

    TestDevice device_;
};
