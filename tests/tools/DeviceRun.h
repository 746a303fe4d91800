#pragma once
// Runs one quillmo-device command line in-process and keeps what it printed.
#include <gtest/gtest.h>

#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include "support/TestDevice.h"
#include "tools/device/DeviceMain.h"

struct DeviceRun {
    int status = -1;
    std::string out;
    std::string err;
};

inline DeviceRun device(std::vector<std::string> args) {
    std::ostringstream out, err;
    DeviceRun run;
    run.status = device_main(args, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

// Runs a command line that must succeed.
inline void device_ok(std::vector<std::string> args) {
    DeviceRun run = device(std::move(args));
    ASSERT_EQ(run.status, 0) << run.err;
}

// A fresh device folder made by "init".
struct InitedDevice : TestDevice {
    InitedDevice() { device_ok({"init"}); }
};

// Lines of a text, without their line ends.
inline std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}
