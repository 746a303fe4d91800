#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "platform/contacts/ContactIds.h"
#include "support/LogCapture.h"
#include "support/TestDevice.h"

namespace {

class ContactIdsTest : public ::testing::Test {
protected:
    ContactIdsTest() : folder_((device_.device() / "contacts").string()) {
        std::filesystem::create_directories(folder_);
    }
    void touch(const std::string& name) { std::ofstream(folder_ + "/" + name) << "x"; }

    TestDevice device_;
    std::string folder_;
};

TEST_F(ContactIdsTest, CollidingNamesProbeAndKeepTheirIdsAcrossLoads) {
    touch("a.vcf");
    touch("b.vcf");
    int32_t b_hash = ContactIds::hash_id("b.vcf");
    {
        // Another name already holds b.vcf's hash.
        std::ofstream(folder_ + ".ids") << "quillmo-contact-ids 1\n" << b_hash << " a.vcf\n";
    }
    ContactIds ids(folder_);
    EXPECT_EQ(ids.id_for("a.vcf"), b_hash);
    int32_t b = ids.id_for("b.vcf");
    EXPECT_NE(b, b_hash);
    EXPECT_GT(b, 0);
    std::string error;
    ASSERT_TRUE(ids.save(&error)) << error;

    ContactIds again(folder_);
    EXPECT_EQ(again.find("b.vcf"), b);
    EXPECT_EQ(*again.name_of(b_hash), "a.vcf");
}

TEST_F(ContactIdsTest, TwoProcessesMergeTheirAssignments) {
    touch("one.vcf");
    touch("two.vcf");
    ContactIds first(folder_), second(folder_);
    int32_t one = first.id_for("one.vcf");
    int32_t two = second.id_for("two.vcf");
    std::string error;
    ASSERT_TRUE(first.save(&error));
    ASSERT_TRUE(second.save(&error));

    ContactIds later(folder_);
    EXPECT_EQ(later.find("one.vcf"), one);
    EXPECT_EQ(later.find("two.vcf"), two);

    // A name forgotten by one process does not come back from the file.
    std::filesystem::remove(folder_ + "/two.vcf");
    later.forget("two.vcf");
    ASSERT_TRUE(later.save(&error));
    EXPECT_EQ(ContactIds(folder_).find("two.vcf"), std::nullopt);
}

TEST_F(ContactIdsTest, ADamagedMapIsLoggedAndRebuiltFromTheHashes) {
    LogCapture log;
    for (const char* damage :
         {"garbage\n", "quillmo-contact-ids 1\n0 a.vcf\n",
          "quillmo-contact-ids 1\n5 a.vcf\n5 b.vcf\n", "quillmo-contact-ids 1\n7 a%zz\n", ""}) {
        std::ofstream(folder_ + ".ids", std::ios::trunc) << damage;
        ContactIds ids(folder_);
        EXPECT_EQ(ids.id_for("a.vcf"), ContactIds::hash_id("a.vcf")) << damage;
        std::string error;
        EXPECT_TRUE(ids.save(&error));
        EXPECT_EQ(ContactIds(folder_).find("a.vcf"), ContactIds::hash_id("a.vcf"));
    }
    EXPECT_TRUE(log.has("contacts.ids is damaged (line 1), its ids are rebuilt"));
    EXPECT_TRUE(log.has("is damaged (an id given twice)"));

    // A FIFO in the map's place neither blocks the reader nor survives a save.
    std::filesystem::remove(folder_ + ".ids");
    ASSERT_EQ(mkfifo((folder_ + ".ids").c_str(), 0644), 0);
    ContactIds ids(folder_);
    EXPECT_EQ(ids.id_for("a.vcf"), ContactIds::hash_id("a.vcf"));
    std::string error;
    EXPECT_TRUE(ids.save(&error)) << error;
    EXPECT_TRUE(std::filesystem::is_regular_file(folder_ + ".ids"));
    EXPECT_TRUE(log.has("contacts.ids: not a regular file, its ids are rebuilt"));
}

}  // namespace
