#pragma once
// A fresh device folder and program folder for one test: both environment
// variables point into a new temporary folder, removed afterwards.
#include <cstdlib>
#include <filesystem>
#include <string>

class TestDevice {
public:
    TestDevice() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "quillmo-test-XXXXXX").string();
        root_ = mkdtemp(pattern.data());
        device_ = root_ / "device";
        home_ = root_ / "program";
        std::filesystem::create_directories(device_);
        std::filesystem::create_directories(home_);
        setenv("QUILLMO_DEVICE", device_.c_str(), 1);
        setenv("QUILLMO_HOME", home_.c_str(), 1);
    }
    ~TestDevice() {
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }
    TestDevice(const TestDevice&) = delete;
    TestDevice& operator=(const TestDevice&) = delete;

    const std::filesystem::path& device() const { return device_; }
    const std::filesystem::path& program() const { return home_; }

private:
    std::filesystem::path root_, device_, home_;
};
