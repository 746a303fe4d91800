#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "platform/AtomicWrite.h"
#include "support/Files.h"
#include "support/TestDevice.h"

namespace {

namespace fs = std::filesystem;

void touch(const fs::path& path, std::chrono::minutes age) {
    std::ofstream(path) << "left over";
    fs::last_write_time(path, fs::file_time_type::clock::now() - age);
}

TEST(AtomicWrite, SweepsOnlyTheStaleTemporariesOfItsOwnTarget) {
    TestDevice device;
    fs::path folder = device.device();
    std::string target = (folder / "cache").string();
    touch(folder / "cache.tmp-a1B2c3", std::chrono::minutes(60));   // a killed writer's
    touch(folder / "cache.tmp-Z9y8X7", std::chrono::minutes(1));    // maybe at work
    touch(folder / "cache.tmp-a1B2c3d", std::chrono::minutes(60));  // not one of ours
    touch(folder / "other.tmp-a1B2c3", std::chrono::minutes(60));   // another target's
    fs::create_directory(folder / "cache.tmp-folder");
    fs::last_write_time(folder / "cache.tmp-folder",
                        fs::file_time_type::clock::now() - std::chrono::minutes(60));

    std::string error;
    ASSERT_TRUE(write_file_atomically(target, "new content", 0600, &error)) << error;
    EXPECT_EQ(read_file(target), "new content");

    EXPECT_FALSE(fs::exists(folder / "cache.tmp-a1B2c3"));
    for (const char* kept :
         {"cache.tmp-Z9y8X7", "cache.tmp-a1B2c3d", "other.tmp-a1B2c3", "cache.tmp-folder"})
        EXPECT_TRUE(fs::exists(folder / kept)) << kept;
}

}  // namespace
