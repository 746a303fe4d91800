#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "support/Contains.h"
#include "support/Files.h"
#include "tools/DeviceRun.h"

namespace {

TEST(ContactsCommands, ImportSplitsCardsAndListShowsThePhoneList) {
    InitedDevice dev;
    auto file = dev.program() / "export.vcf";
    write_file(file,
               "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:anna-1\r\nFN:Anna\r\nN:;Anna;;;\r\n"
               "TEL;TYPE=CELL:+7 912 345-67-89\r\nEND:VCARD\r\n"
               "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:bob-2\r\nFN:Bob\r\nN:;Bob;;;\r\n"
               "TEL;TYPE=HOME:+1 555 0100\r\nEND:VCARD\r\n");
    DeviceRun import = device({"contacts", "import", file.string()});
    ASSERT_EQ(import.status, 0) << import.err;
    EXPECT_EQ(import.out, "imported 2 contacts, 0 already there, 0 refused\n");
    // A second import writes nothing.
    import = device({"contacts", "import", file.string()});
    EXPECT_EQ(import.out, "imported 0 contacts, 2 already there, 0 refused\n");

    device_ok({"sms", "deliver", "--from", "+1 (555) 0100", "hello"});
    device_ok({"sms", "deliver", "--from", "+44 20 7946 0018", "--name", "Eve", "hi"});
    DeviceRun list = device({"contacts", "list", "--json"});
    ASSERT_EQ(list.status, 0) << list.err;
    EXPECT_TRUE(contains(list.out,
                         "{\"name\":\"Anna\",\"number\":\"+7 912 345-67-89\",\"label\":\"mobile\","
                         "\"key\":\"3456789\",\"contact_id\":"));
    EXPECT_TRUE(contains(list.out,
                         "{\"name\":\"Eve\",\"number\":\"+44 20 7946 0018\",\"label\":\"\","
                         "\"key\":\"9460018\",\"contact_id\":-1}"));
    DeviceRun chats = device({"chats", "--json"});
    EXPECT_TRUE(
        contains(chats.out, "\"name\":\"Bob\",\"number\":\"+1 (555) 0100\",\"label\":\"home\""));
}

TEST(ContactsCommands, RefusesWhatItCannotReadWithOneLine) {
    InitedDevice dev;
    auto fifo = dev.program() / "pipe.vcf";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    for (const std::string& file :
         {(dev.program() / "missing.vcf").string(), std::string("/dev/zero"), fifo.string()}) {
        DeviceRun run = device({"contacts", "import", file});
        EXPECT_EQ(run.status, 1) << file;
        EXPECT_EQ(lines(run.err).size(), 1u) << run.err;
        EXPECT_EQ(run.err.rfind("quillmo-device: contacts import: cannot read " + file + ": ", 0),
                  0u)
            << run.err;
    }
    auto junk = dev.program() / "junk.vcf";
    std::ofstream(junk) << "this is no vCard\n";
    DeviceRun run = device({"contacts", "import", junk.string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.out.empty());
    EXPECT_EQ(device({"contacts", "import"}).status, 2);

    // Refused cards are counted and said why.
    auto partial = dev.program() / "partial.vcf";
    std::ofstream(partial) << "BEGIN:VCARD\nVERSION:3.0\nFN:Ok\nEND:VCARD\n"
                              "BEGIN:VCARD\nVERSION:3.0\nUID:x\nEND:VCARD\n";
    run = device({"contacts", "import", partial.string()});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "imported 1 contacts, 0 already there, 1 refused\n");
    EXPECT_EQ(run.err, "refused: card 2 has no content\n");
}

TEST(ContactsCommands, ListShowsNamesWithoutTheirControlCharacters) {
    InitedDevice dev;
    std::ofstream(dev.device() / "contacts" / "evil.vcf")
        << "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Evil\x1b]52;c;cm0gLXJmIH4=\a\x1b[2J\r\n"
           "TEL;TYPE=CELL:+1 555\x1b[31m 0700\r\nEND:VCARD\r\n";
    DeviceRun list = device({"contacts", "list"});
    ASSERT_EQ(list.status, 0) << list.err;
    EXPECT_FALSE(contains(list.out, "\x1b"));
    EXPECT_FALSE(contains(list.out, "\a"));
    EXPECT_EQ(list.out.rfind("Evil ]52;c;cm0gLXJmIH4=  [2J <+1 555 [31m 0700> (mobile)  key ", 0),
              0u)
        << list.out;
}

}  // namespace
