#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/TestDevice.h"
#include "tools/DeviceRun.h"

namespace {

TEST(ContactsCommands, ImportSplitsCardsAndListShowsThePhoneList) {
    TestDevice dev;
    ASSERT_EQ(device({"init"}).status, 0);
    auto file = dev.program() / "export.vcf";
    {
        std::ofstream out(file, std::ios::binary);
        out << "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:anna-1\r\nFN:Anna\r\nN:;Anna;;;\r\n"
               "TEL;TYPE=CELL:+7 912 345-67-89\r\nEND:VCARD\r\n"
               "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:bob-2\r\nFN:Bob\r\nN:;Bob;;;\r\n"
               "TEL;TYPE=HOME:+1 555 0100\r\nEND:VCARD\r\n";
    }
    DeviceRun import = device({"contacts", "import", file.string()});
    ASSERT_EQ(import.status, 0) << import.err;
    EXPECT_EQ(import.out, "imported 2 contacts, skipped 0\n");
    size_t files = 0;
    for (auto& entry : std::filesystem::directory_iterator(dev.device() / "contacts"))
        files += entry.path().extension() == ".vcf";
    EXPECT_EQ(files, 2u);
    // A second import never overwrites.
    ASSERT_EQ(device({"contacts", "import", file.string()}).status, 0);

    ASSERT_EQ(device({"sms", "deliver", "--from", "+1 (555) 0100", "hello"}).status, 0);
    ASSERT_EQ(
        device({"sms", "deliver", "--from", "+44 20 7946 0018", "--name", "Eve", "hi"}).status, 0);
    DeviceRun list = device({"contacts", "list", "--json"});
    ASSERT_EQ(list.status, 0) << list.err;
    EXPECT_NE(
        list.out.find("{\"name\":\"Anna\",\"number\":\"+7 912 345-67-89\",\"label\":\"mobile\","
                      "\"key\":\"3456789\",\"contact_id\":"),
        std::string::npos);
    EXPECT_NE(list.out.find("{\"name\":\"Eve\",\"number\":\"+44 20 7946 0018\",\"label\":\"\","
                            "\"key\":\"9460018\",\"contact_id\":-1}"),
              std::string::npos);
    DeviceRun chats = device({"chats", "--json"});
    EXPECT_NE(chats.out.find("\"name\":\"Bob\",\"number\":\"+1 (555) 0100\",\"label\":\"home\""),
              std::string::npos)
        << chats.out;
}

TEST(ContactsCommands, RefusesWhatItCannotRead) {
    TestDevice dev;
    ASSERT_EQ(device({"init"}).status, 0);
    EXPECT_EQ(device({"contacts", "import", (dev.program() / "missing.vcf").string()}).status, 1);
    auto junk = dev.program() / "junk.vcf";
    std::ofstream(junk) << "this is no vCard\n";
    DeviceRun run = device({"contacts", "import", junk.string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.out.empty());
    EXPECT_EQ(device({"contacts", "import"}).status, 2);
}

}  // namespace
