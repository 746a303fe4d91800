#include <gtest/gtest.h>
#include <poll.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>

#include "ContactTestData.h"
#include "platform/contacts/AddressBook.h"
#include "platform/contacts/ContactIds.h"
#include "support/FileSizeLimit.h"
#include "support/Files.h"
#include "support/LogCapture.h"
#include "support/TestDevice.h"

namespace fs = std::filesystem;

namespace {

const char* const kCards[] = {
    "accents.vcf",   "android-21-utf8.vcf", "carddav-40.vcf",      "cjk.vcf",
    "iphone-30.vcf", "no-name.vcf",         "nokia-21-cp1251.vcf", "not-a-card.vcf"};

class AddressBookTest : public ::testing::Test {
protected:
    AddressBookTest() : folder_(device_.device() / "contacts") {
        fs::create_directories(folder_);
        for (const char* name : kCards) fs::copy_file(test_card_path(name), folder_ / name);
    }
    std::string read(const std::string& name) { return read_file(folder_ / name); }
    void write(const std::string& name, const std::string& text) {
        write_file(folder_ / name, text);
    }
    static std::string card(const std::string& name, const std::string& tel) {
        return "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:" + name + "\r\nTEL;TYPE=CELL:" + tel +
               "\r\nEND:VCARD\r\n";
    }
    std::map<std::u16string, int32_t> ids_by_name(AddressBook& book) {
        std::map<std::u16string, int32_t> ids;
        for (const ContactRecord& c : book.all_contacts()) ids[c.display_name()] = c.id;
        return ids;
    }
    std::vector<AddressBook::Notice> changes(AddressBook& book) {
        pollfd p{book.watch_fd(), POLLIN, 0};
        poll(&p, 1, 1000);
        return book.take_changes();
    }

    TestDevice device_;
    fs::path folder_;
};

using Notices = std::vector<std::pair<AddressBook::Change, int32_t>>;
Notices plain(const std::vector<AddressBook::Notice>& notices) {
    Notices out;
    for (const auto& n : notices) out.emplace_back(n.change, n.id);
    return out;
}

TEST_F(AddressBookTest, ReadsEveryCardInNameOrderAndLogsWhatItSkips) {
    LogCapture log;
    mkfifo((folder_ / "pipe.vcf").c_str(), 0644);  // must not block the reader
    write(".#lock.vcf", "not a contact");
    write("readme.txt", "not a contact");
    AddressBook book;
    EXPECT_EQ(book.folder(), folder_.string());
    std::vector<size_t> progress;
    auto contacts = book.all_contacts([&](size_t index, size_t count) {
        EXPECT_EQ(count, 9u);
        progress.push_back(index);
    });
    EXPECT_EQ(progress, (std::vector<size_t>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
    std::vector<std::u16string> names;
    for (const ContactRecord& c : contacts) {
        EXPECT_GT(c.id, 0);
        names.push_back(c.display_name());
    }
    EXPECT_EQ(names, (std::vector<std::u16string>{
                         u"José Müller-Lüdenscheidt", u"Иван Иванович Иванов", u"Ada Lovelace",
                         u"山田 太郎", u"Johnny Appleseed", u"", u"Петрова Мария"}));
    EXPECT_TRUE(
        log.has("contacts: " + (folder_ / "not-a-card.vcf").string() + " is not a vCard, skipped"));
    EXPECT_TRUE(log.has("contacts: cannot read " + (folder_ / "pipe.vcf").string() +
                        ": not a regular file"));
    // Reading writes nothing; the book that follows the folder keeps the ids.
    EXPECT_FALSE(fs::exists(device_.device() / "contacts.ids"));
    ASSERT_TRUE(book.watch());
    book.all_contacts();
    EXPECT_TRUE(fs::exists(device_.device() / "contacts.ids"));

    // No folder yet: no contacts, and still nothing written.
    fs::remove_all(folder_);
    fs::remove(device_.device() / "contacts.ids");
    AddressBook empty;
    EXPECT_TRUE(empty.all_contacts().empty());
    EXPECT_FALSE(empty.find_matching_contact(u"89123456789"));
    EXPECT_FALSE(fs::exists(folder_));
    EXPECT_FALSE(fs::exists(device_.device() / "contacts.ids"));
    EXPECT_FALSE(log.has("cannot list"));
}

TEST_F(AddressBookTest, IdsStayTheSameAcrossInstancesOtherFilesAndALostMap) {
    auto first = [&] {
        AddressBook book;
        return ids_by_name(book);
    }();
    AddressBook second;
    EXPECT_EQ(ids_by_name(second), first);

    fs::remove(folder_ / "cjk.vcf");
    write("zz-new.vcf", card("Newcomer", "1"));
    write("aa-new.vcf", card("Early", "2"));
    auto changed = ids_by_name(second);
    for (const auto& [name, id] : first) {
        if (name == u"山田 太郎") continue;
        EXPECT_EQ(changed.at(name), id);
    }
    EXPECT_EQ(changed.count(u"山田 太郎"), 0u);

    fs::remove(device_.device() / "contacts.ids");
    AddressBook third;
    EXPECT_EQ(ids_by_name(third), changed);

    int32_t ada = first.at(u"Ada Lovelace");
    auto read = third.contact_by_id(ada);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->first_name, u"Ada");
    EXPECT_FALSE(third.contact_by_id(12345));
}

TEST_F(AddressBookTest, FindsTheClosestContactForAnySpellingOfANumber) {
    write("local.vcf", card("Local", "345-67-89"));
    AddressBook book;
    auto ivanov = book.find_matching_contact(u"89123456789");
    ASSERT_TRUE(ivanov);
    EXPECT_EQ(ivanov->last_name, u"Иванов");
    EXPECT_EQ(ivanov->id, ids_by_name(book).at(u"Иван Иванович Иванов"));
    EXPECT_EQ(book.find_matching_contact(u"+7 495 111 22 34")->last_name, u"Петрова");  // a fax
    EXPECT_EQ(book.find_matching_contact(u"3456789")->display_name(), u"Local");
    EXPECT_FALSE(book.find_matching_contact(u"0100"));
    EXPECT_FALSE(book.find_matching_contact(u"BANK"));
}

TEST_F(AddressBookTest, WatchingReportsEachFileChangeOnceWithItsId) {
    AddressBook book;
    auto ids = ids_by_name(book);
    ASSERT_TRUE(book.watch());
    ASSERT_GE(book.watch_fd(), 0);
    EXPECT_TRUE(book.take_changes().empty());
    using C = AddressBook::Change;

    // Created in place: one notice, once written and closed.
    int32_t id = ContactIds::hash_id("new.vcf");
    {
        std::ofstream partial(folder_ / "new.vcf", std::ios::binary);
        partial << "BEGIN:VCARD\r\n" << std::flush;
        write("notes.txt", "ignored");
        EXPECT_TRUE(book.take_changes().empty());
        partial << "FN:New\r\nEND:VCARD\r\n";
    }
    EXPECT_EQ(plain(changes(book)), (Notices{{C::Created, id}}));
    EXPECT_EQ(book.contact_by_id(id)->display_name(), u"New");

    write("new.vcf", card("Renamed", "+1 555 0300"));
    EXPECT_EQ(plain(changes(book)), (Notices{{C::Changed, id}}));

    // Saved the way editors and sync tools do: a temporary file renamed over.
    write(".new.vcf.tmp", card("Again", "+1 555 0300"));
    fs::rename(folder_ / ".new.vcf.tmp", folder_ / "new.vcf");
    EXPECT_EQ(plain(changes(book)), (Notices{{C::Changed, id}}));

    // Removed and written anew before the notices are taken: a change.
    fs::remove(folder_ / "new.vcf");
    write("new.vcf", card("Third", "+1 555 0300"));
    EXPECT_EQ(plain(changes(book)), (Notices{{C::Changed, id}}));

    // A deleted file keeps its id until its notice is delivered, even when
    // the book is read in between.
    int32_t ada = ids.at(u"Ada Lovelace");
    fs::remove(folder_ / "carddav-40.vcf");
    book.all_contacts();
    fs::rename(folder_ / "cjk.vcf", folder_ / "yamada.vcf");
    EXPECT_EQ(plain(changes(book)), (Notices{{C::Deleted, ada},
                                             {C::Deleted, ids.at(u"山田 太郎")},
                                             {C::Created, ContactIds::hash_id("yamada.vcf")}}));
    EXPECT_FALSE(book.contact_by_id(ada));

    // The whole folder removed: every contact in it is gone.
    fs::remove_all(folder_);
    auto gone = changes(book);
    EXPECT_EQ(gone.size(), 8u);
    for (const auto& notice : gone) EXPECT_EQ(notice.change, C::Deleted);
    EXPECT_TRUE(book.take_changes().empty());
}

TEST_F(AddressBookTest, ImportWritesEachNewCardOnceAndNeverOverwrites) {
    AddressBook book;
    ASSERT_TRUE(book.watch());
    std::string export_text = read_test_card("export.vcf");
    AddressBook::ImportResult result;
    std::string error;
    ASSERT_TRUE(book.import_cards(export_text, result, &error)) << error;
    EXPECT_EQ(result.imported, 3u);
    EXPECT_EQ(result.already_there, 0u);
    EXPECT_EQ(result.refused, 2u);  // one without content, one without END
    EXPECT_EQ(result.notes,
              (std::vector<std::string>{"card 4 has no content", "card 5 has no END:VCARD"}));
    // Two UIDs that come out as one name.
    ASSERT_TRUE(fs::exists(folder_ / "_team_alice_1.vcf"));
    ASSERT_TRUE(fs::exists(folder_ / "_team_alice_1-2.vcf"));
    EXPECT_EQ(read("_team_alice_1.vcf"),
              "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:../team/alice:1\r\nFN:Alice\r\n"
              "TEL;TYPE=CELL:+1 555 0001\r\nEND:VCARD\r\n");
    EXPECT_EQ(contact_of(read("_team_alice_1-2.vcf")).display_name(), u"Alice (again)");
    EXPECT_EQ(changes(book).size(), 3u);
    EXPECT_EQ(book.all_contacts().size(), 7u + 3u);

    // Again, and with one card already mirrored by a sync tool under a name
    // of its own and changed since: nothing is written twice or replaced.
    fs::rename(folder_ / "_team_alice_1.vcf", folder_ / "3f2a.vcf");
    write("3f2a.vcf",
          "BEGIN:VCARD\r\nVERSION:4.0\r\nUID:../team/alice:1\r\nFN:Alice B\r\n"
          "END:VCARD\r\n");
    ASSERT_TRUE(book.import_cards(export_text, result, &error)) << error;
    EXPECT_EQ(result.imported, 0u);
    EXPECT_EQ(result.already_there, 3u);
    EXPECT_EQ(result.refused, 2u);
    EXPECT_EQ(book.all_contacts().size(), 7u + 3u);
    EXPECT_EQ(contact_of(read("3f2a.vcf")).display_name(), u"Alice B");

    EXPECT_FALSE(book.import_cards("Name,Phone\nJohn,1\n", result, &error));
    EXPECT_EQ(error, "no vCard in the text");
    for (const auto& entry : fs::directory_iterator(folder_))
        EXPECT_NE(entry.path().filename().string().rfind(".import-", 0), 0u) << entry.path();
}

TEST_F(AddressBookTest, ImportChecksEveryCardBeforeWritingAnyAndSweepsWhatAKilledOneLeft) {
    AddressBook book;
    auto names = [&] {
        std::vector<std::string> out;
        for (const auto& entry : fs::directory_iterator(folder_))
            out.push_back(entry.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    };
    const std::vector<std::string> before = names();
    AddressBook::ImportResult result;
    std::string error;

    // One UID on thousands of different cards fails at once, naming it safely.
    std::string clash;
    for (int i = 0; i < 12000; ++i)
        clash += "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:same\x1b]0;x\a\r\nFN:Card " +
                 std::to_string(i) + "\r\nEND:VCARD\r\n";
    EXPECT_FALSE(book.import_cards(clash, result, &error));
    EXPECT_EQ(error, "two different cards have the UID \"same ]0;x \"; nothing was imported");
    EXPECT_EQ(result.imported, 0u);
    EXPECT_EQ(names(), before);

    // A card larger than the book reads is refused; a repeated card is written
    // once.
    std::string small = card("Small", "+1 555 0400");
    std::string huge =
        "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Huge\r\nNOTE:" + std::string(16 * 1024 * 1024, 'x') +
        "\r\nEND:VCARD\r\n";
    ASSERT_TRUE(book.import_cards(small + huge + small, result, &error)) << error;
    EXPECT_EQ(result.imported, 1u);
    EXPECT_EQ(result.already_there, 1u);
    EXPECT_EQ(result.refused, 1u);
    EXPECT_EQ(result.notes, (std::vector<std::string>{"card 2 is larger than 16 MB"}));
    EXPECT_EQ(names().size(), before.size() + 1);

    // A write that fails midway leaves neither cards nor temporary files.
    std::string cards = card("First", "+1 555 0500") + "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Big\r\n" +
                        "NOTE:" + std::string(8192, 'y') + "\r\nEND:VCARD\r\n" +
                        card("Last", "+1 555 0501");
    const std::vector<std::string> with_small = names();
    {
        FileSizeLimit limit(4096);
        EXPECT_FALSE(book.import_cards(cards, result, &error));
    }
    EXPECT_TRUE(contains(error, "File too large; nothing was imported"));
    EXPECT_EQ(names(), with_small);

    // The next import removes the stale temporary files of a killed one.
    LogCapture log;
    write(".import-old123", "BEGIN:VCARD\r\n");
    write(".import-new456", "BEGIN:VCARD\r\n");
    fs::last_write_time(folder_ / ".import-old123",
                        fs::file_time_type::clock::now() - std::chrono::hours(1));
    ASSERT_TRUE(book.import_cards(card("Fresh", "+1 555 0600"), result, &error)) << error;
    EXPECT_EQ(result.imported, 1u);
    EXPECT_FALSE(fs::exists(folder_ / ".import-old123"));
    EXPECT_TRUE(fs::exists(folder_ / ".import-new456"));  // may be another import's
    EXPECT_TRUE(log.has("contacts: removed 1 temporary files of an earlier import"));
}

}  // namespace
