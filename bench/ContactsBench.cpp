#include "bench/ContactsBench.h"

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "bench/BenchClock.h"
#include "bench/BenchFolders.h"
#include "chats/ChatModel.h"
#include "platform/Paths.h"
#include "platform/Utf16.h"
#include "platform/store/StoreDatabase.h"
#include "tools/device/HistoryGenerator.h"

namespace {

constexpr int kCards = 5000;
constexpr int kChats = 1000;

std::string number_for(int card, int kind) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "+7 %03d %03d-%02d-%02d", 900 + kind * 10 + card % 10,
                  card / 100 % 1000, card % 100, (card * 7 + kind) % 100);
    return buffer;
}

// A 3.0 card as phones export them; the first kChats cards carry the numbers of
// the chats as their mobile numbers, so that linking renames those chats.
void write_card(const std::filesystem::path& folder, int card, const std::u16string& chat_number) {
    std::ofstream out(folder / ("card-" + std::to_string(card) + ".vcf"), std::ios::binary);
    std::string mobile = chat_number.empty() ? number_for(card, 0) : utf16::to_utf8(chat_number);
    out << "BEGIN:VCARD\r\nVERSION:3.0\r\n"
        << "N:Фамилия" << card << ";Имя;;;\r\n"
        << "FN:Имя Фамилия" << card << "\r\n"
        << "ORG:Company " << card % 50 << "\r\n"
        << "TEL;TYPE=CELL,PREF:" << mobile << "\r\n"
        << "TEL;TYPE=WORK,VOICE:" << number_for(card, 1) << "\r\n"
        << "TEL;TYPE=HOME:" << number_for(card, 2) << "\r\n"
        << "EMAIL;TYPE=INTERNET:person" << card << "@example.org\r\n"
        << "END:VCARD\r\n";
}

}  // namespace

bool ContactsBench::run() {
    BenchFolders folders;
    auto store = StoreDatabase::open(paths::device_folder_utf8(), nullptr);
    if (!store || !store->add_messages(HistoryGenerator(10 * kChats, kChats, 2).generate())) {
        std::fprintf(stderr, "quillmo-bench: cannot fill the store\n");
        return false;
    }
    auto model = std::make_unique<ChatModel>();
    model->update_chats(false, nullptr);

    std::filesystem::path cards = folders.device() / "contacts";
    std::filesystem::create_directories(cards);
    for (int card = 0; card < kCards; ++card) {
        size_t chat = static_cast<size_t>(card);
        write_card(cards, card, chat < model->chats().size() ? model->chats()[chat]->number : u"");
    }

    double load = bench::median_us(5, [&] {
        ContactsDirectory directory(nullptr);
        PhoneList phones;
        for (const ContactRecord& contact : directory.all_contacts()) phones.add_contact(contact);
    });
    bench::report("contacts_load_ms", load / 1000, "ms");

    model->load_contacts();
    double link = bench::median_us(21, [&] { model->link_chats(); });
    bench::report("link_chats_ms", link / 1000, "ms");
    return true;
}
