#pragma once
// A temporary device folder and program folder for one measurement, removed
// afterwards. The program and the store find them through the environment.
#include <stdlib.h>

#include <filesystem>
#include <string>

class BenchFolders {
public:
    BenchFolders() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "quillmo-bench-XXXXXX").string();
        root_ = mkdtemp(pattern.data());
        std::filesystem::create_directories(root_ / "device");
        std::filesystem::create_directories(root_ / "program");
        setenv("QUILLMO_DEVICE", (root_ / "device").c_str(), 1);
        setenv("QUILLMO_HOME", (root_ / "program").c_str(), 1);
    }
    ~BenchFolders() {
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }
    BenchFolders(const BenchFolders&) = delete;
    BenchFolders& operator=(const BenchFolders&) = delete;

    std::filesystem::path device() const { return root_ / "device"; }
    std::filesystem::path cache() const { return root_ / "device" / "cache"; }

private:
    std::filesystem::path root_;
};
