#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "platform/WholeFile.h"
#include "support/TestDevice.h"

namespace {

std::string path_in(const TestDevice& device, const char* name) {
    return (device.device() / name).string();
}

TEST(WholeFile, ReadsARegularFileWholeTellsAMissingOneFromAFailureAndNeverBlocks) {
    TestDevice device;
    std::string path = path_in(device, "a.txt");
    std::ofstream(path, std::ios::binary) << std::string("ab\0cd", 5);
    std::string text;
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_EQ(WholeFile::read(path, 5, text, &error), WholeFile::Status::Ok);
    EXPECT_EQ(text, std::string("ab\0cd", 5));
    EXPECT_EQ(WholeFile::read(path, 5, bytes, &error), WholeFile::Status::Ok);
    EXPECT_EQ(bytes.size(), 5u);

    EXPECT_EQ(WholeFile::read(path_in(device, "none"), 5, text, &error),
              WholeFile::Status::Missing);
    EXPECT_TRUE(text.empty());
    EXPECT_EQ(WholeFile::read(path, 4, text, &error), WholeFile::Status::Failed);
    EXPECT_EQ(error, "larger than 4 bytes");
    EXPECT_EQ(WholeFile::too_large_text(32u << 20), "larger than 32 MB");
    EXPECT_EQ(WholeFile::too_large_text(512u << 10), "larger than 512 KB");
    EXPECT_TRUE(text.empty());
    EXPECT_EQ(WholeFile::read(path + std::string(1, '\0') + "x", 5, text, &error),
              WholeFile::Status::Failed);

    // FIFOs, devices and folders are refused without blocking: with no writer
    // on the FIFO a blocking open would never return.
    std::string fifo = path_in(device, "fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(WholeFile::read(fifo, 1024, text, &error), WholeFile::Status::Failed);
    EXPECT_EQ(error, "not a regular file");
    EXPECT_EQ(WholeFile::read("/dev/zero", 1024, text, &error), WholeFile::Status::Failed);
    EXPECT_EQ(WholeFile::read(device.device().string(), 1024, text, &error),
              WholeFile::Status::Failed);
    EXPECT_EQ(error, "a folder, not a file");
}

}  // namespace
