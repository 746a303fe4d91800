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

// Dense screens draw the strip made for them, pixel for pixel, wherever one
// of the right size is there; any other smiley is its plain strip enlarged.
TEST_F(SmileyFiles, DenseScreensTakeTheStripDrawnForThemOrEnlargeThePlainOne) {
    write_names("crisp=:)\nplain=:(\nwrong=;)\nbare=:D\n");
    auto shipped = [&](const std::string& from, const std::string& to) {
        fs::copy_file(fs::path(QUILLMO_SHIPPED_SMILES_DIR) / "bin" / (from + ".bmp"),
                      dir_ / "bin" / (to + ".bmp"));
    };
    for (const char* name : {"crisp", "plain", "wrong", "bare"}) {
        shipped("happy", name);
        shipped("happy_mask", std::string(name) + "_mask");
    }
    for (const char* density : {"@2x", "@4x"}) {
        shipped(std::string("happy") + density, std::string("crisp") + density);
        shipped(std::string("happy") + density + "_mask", std::string("crisp") + density + "_mask");
    }
    // A variant of the plain size, and one without the mask its plain strip has.
    shipped("happy", "wrong@2x");
    shipped("happy_mask", "wrong@2x_mask");
    shipped("happy@2x", "bare@2x");

    SmileyTable t = table();
    auto index = [&](std::u16string_view code) { return static_cast<size_t>(t.find(code, 0)); };
    const Size plain = t.picture(index(u":)")).size();
    ASSERT_FALSE(plain.empty());

    const SmileyTable::Drawn at1 = t.pictures(index(u":)"), 1);
    EXPECT_EQ(at1.strip.size(), (Size{plain.width * 2, plain.height * 2}));
    EXPECT_EQ(at1.mask.size(), at1.strip.size());
    EXPECT_EQ(at1.scale_shift, 0);
    const SmileyTable::Drawn at2 = t.pictures(index(u":)"), 2);
    EXPECT_EQ(at2.strip.size(), (Size{plain.width * 4, plain.height * 4}));
    EXPECT_EQ(at2.scale_shift, 0);
    // Loaded once, like the plain strip.
    EXPECT_EQ(t.pictures(index(u":)"), 1).strip.data(), at1.strip.data());

    const SmileyTable::Drawn at0 = t.pictures(index(u":)"), 0);
    EXPECT_EQ(at0.strip.data(), t.picture(index(u":)")).data());
    EXPECT_EQ(at0.scale_shift, 0);
    for (std::u16string_view code : {u":(", u";)", u":D"}) {
        for (int32_t shift : {1, 2}) {
            const SmileyTable::Drawn drawn = t.pictures(index(code), shift);
            EXPECT_EQ(drawn.strip.data(), t.picture(index(code)).data());
            EXPECT_EQ(drawn.mask.data(), t.picture(index(code), true).data());
            EXPECT_EQ(drawn.scale_shift, shift);
        }
    }
}
