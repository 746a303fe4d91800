#pragma once
// A program that, each time it is started, appends its arguments as one line to
// "<program>.log": for tests of what starts other programs, and how often.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "support/Files.h"

class StartRecorder {
public:
    explicit StartRecorder(std::filesystem::path program)
        : program_(std::move(program)), log_(program_.string() + ".log") {
        write_file(program_, "#!/bin/sh\necho \"$@\" >> '" + log_.string() + "'\n");
        std::filesystem::permissions(program_, std::filesystem::perms::owner_all);
    }

    const std::filesystem::path& path() const { return program_; }

    // The lines of the starts so far. Waits up to `wait` for the first start,
    // then 300 ms more for any start that should not have come.
    std::string starts(std::chrono::milliseconds wait = std::chrono::seconds(2)) const {
        const auto until = std::chrono::steady_clock::now() + wait;
        while (!std::filesystem::exists(log_) && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        return read_file(log_);
    }
    void forget() const { std::filesystem::remove(log_); }

private:
    std::filesystem::path program_, log_;
};
