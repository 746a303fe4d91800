#pragma once
// The whole program on a device prepared by quillmo-device, with its log on.
// The tool runs in the program's own environment: a program the system starts
// for a delivered message (the notification request) inherits it, with a
// script that ends that program should it find no running one to hand its
// command line to.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "support/ChildProcess.h"
#include "support/Files.h"
#include "support/ProgramRun.h"

// The program folder of the build.
inline std::string program_dir() { return std::getenv("QUILLMO_PROGRAM_DIR"); }

class DeviceRun : public ProgramRunFixture {
protected:
    DeviceRun() : stray_script_(write_script("stray", "wait 5000\nquit\n")) {
        tool({"init"});
        switch_log_on();
    }

    // quillmo-device with args, handing script to any program it starts; its
    // standard output. A failing run fails the test.
    std::string tool(const std::vector<std::string>& args, const std::string& script = {}) {
        ChildProcess run(
            program_dir() + "/quillmo-device", args,
            {"QUILLMO_VIDEO=headless", "QUILLMO_SCREEN=240x320@96", "QUILLMO_HOME=" + program_dir(),
             "XDG_RUNTIME_DIR=" + run_dir().string(),
             "QUILLMO_FORM=", "QUILLMO_SCRIPT=" + (script.empty() ? stray_script_ : script),
             std::string("FONTCONFIG_FILE=") + QUILLMO_TEST_FONTS_CONF});
        EXPECT_EQ(run.wait(std::chrono::seconds(60)), 0) << run.err();
        return run.out();
    }
    void deliver(const std::string& from, const std::string& text, const std::string& script = {}) {
        tool({"sms", "deliver", "--from", from, text}, script);
    }

    // The program from its list, playing script_text (each its own file).
    std::unique_ptr<ChildProcess> program(const std::string& script_text,
                                          std::vector<std::string> args = {},
                                          std::vector<std::string> env = {}) {
        return start("", write_script("s" + std::to_string(++scripts_), script_text),
                     std::move(args), std::move(env));
    }

    std::string stray_script_;
    int scripts_ = 0;
};

// Whether path exists with something in it within limit.
inline bool file_appears(const std::filesystem::path& path, std::chrono::milliseconds limit) {
    for (auto end = std::chrono::steady_clock::now() + limit;
         std::chrono::steady_clock::now() < end;
         std::this_thread::sleep_for(std::chrono::milliseconds(50)))
        if (std::filesystem::exists(path) && std::filesystem::file_size(path) > 0) return true;
    return false;
}
