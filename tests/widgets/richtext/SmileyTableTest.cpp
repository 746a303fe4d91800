#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "support/TestDevice.h"
#include "widgets/richtext/SmileyTable.h"

namespace fs = std::filesystem;

namespace {

class SmileyFiles : public ::testing::Test {
protected:
    SmileyFiles() { fs::create_directories(dir_ / "bin"); }

    void write_names(const std::string& bytes) {
        std::ofstream(dir_ / "names.txt", std::ios::binary) << bytes;
    }
    void copy_picture(const std::string& from, const std::string& to) {
        fs::copy_file(fs::path(QUILLMO_TEST_SMILES_DIR) / "bin" / (from + ".bmp"),
                      dir_ / "bin" / (to + ".bmp"));
    }
    SmileyTable table() const {
        return SmileyTable((dir_ / "names.txt").u16string(), (dir_ / "bin/").u16string());
    }

    // A folder of its own: tests run in parallel, also from other checkouts.
    TestDevice device_;
    fs::path dir_ = device_.program() / "smiles";
};

}  // namespace

TEST_F(SmileyFiles, EntriesFollowKeyOrderThenCodeOrder) {
    write_names("zz=;) ;-)\naa=:) :-)\n");
    SmileyTable t = table();
    ASSERT_EQ(t.size(), 4u);
    EXPECT_EQ(t.entry(0).code, u":)");
    EXPECT_EQ(t.entry(0).name, u"aa");
    EXPECT_EQ(t.entry(1).code, u":-)");
    EXPECT_EQ(t.entry(2).code, u";)");
    EXPECT_EQ(t.entry(3).name, u"zz");
    EXPECT_EQ(t.first_characters(), u":;");
    EXPECT_EQ(t.find(u"x;-)", 1), 3);
}

TEST_F(SmileyFiles, EmptyCodesAreKeptButNeverMatch) {
    write_names("a=:)  B) \n");
    SmileyTable t = table();
    ASSERT_EQ(t.size(), 4u);  // ":)", "", "B)", ""
    EXPECT_EQ(t.entry(1).code, u"");
    EXPECT_EQ(t.first_characters(), std::u16string(u":\0B", 3));
    EXPECT_EQ(t.find(std::u16string(u"\0\0x", 3), 0), -1);
    EXPECT_EQ(t.find(u"B)", 0), 2);
}

TEST_F(SmileyFiles, AMissingOrJunkFileGivesWhatItCan) {
    EXPECT_EQ(table().size(), 0u);
    write_names(std::string("\xff\xfe", 2) + std::string("s\0=\0:\0)\0\n\0", 10));
    EXPECT_EQ(table().size(), 1u);  // UTF-16 with its byte-order mark
    const char junk_lines[] = "no equals here\n\x01\x02\x80\xff\n=orphan\nok=:P\n";
    write_names(std::string(junk_lines, sizeof junk_lines - 1));
    {
        SmileyTable junk = table();
        EXPECT_EQ(junk.find(u":P", 0), static_cast<int>(junk.size()) - 1);
    }
    // A folder where the file should be reads as no smileys.
    fs::remove(dir_ / "names.txt");
    fs::create_directory(dir_ / "names.txt");
    EXPECT_EQ(table().size(), 0u);
}

TEST_F(SmileyFiles, PicturesLoadOnceAndMissingOrDamagedOnesAreEmpty) {
    write_names("smile=:)\nghost=:O\nbroken=:X\n");
    copy_picture("smile", "smile");
    copy_picture("smile_mask", "smile_mask");
    std::ofstream(dir_ / "bin" / "broken.bmp") << "BM not really a bitmap";
    SmileyTable t = table();
    const int smile = t.find(u":)", 0);
    ASSERT_GE(smile, 0);
    const Picture& strip = t.picture(static_cast<size_t>(smile));
    EXPECT_EQ(strip.size(), (Size{48, 16}));
    EXPECT_EQ(t.picture(static_cast<size_t>(smile), true).size(), (Size{48, 16}));
    EXPECT_EQ(t.picture(static_cast<size_t>(smile)).data(), strip.data());
    EXPECT_TRUE(t.picture(static_cast<size_t>(t.find(u":O", 0))).empty());
    EXPECT_TRUE(t.picture(static_cast<size_t>(t.find(u":O", 0)), true).empty());
    EXPECT_TRUE(t.picture(static_cast<size_t>(t.find(u":X", 0))).empty());
}
