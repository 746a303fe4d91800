#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "chats/ChatModel.h"
#include "platform/LocalTime.h"
#include "platform/Paths.h"
#include "platform/store/StoreDatabase.h"
#include "support/AddressBook.h"
#include "support/LogCapture.h"
#include "support/TestDevice.h"

namespace {

class Events : public ChatObserver {
public:
    void on_chat_event(const ChatEvent& e) override {
        if (e.kind == ChatEvent::kChatChanged) renamed.push_back(e.chat->name);
    }
    std::vector<std::u16string> renamed;
};

class ContactsLinkTest : public ::testing::Test {
protected:
    ContactsLinkTest() : store(StoreDatabase::open(paths::device_folder_utf8(), nullptr)) {}
    void deliver(std::u16string number, std::u16string name = u"") {
        StoredMessage m;
        m.sender_number = std::move(number);
        m.sender_name = std::move(name);
        m.body = u"hi";
        m.delivery_time = local_time::now_utc() + static_cast<int64_t>(++count) * 10000000;
        store->add_message(m);
    }
    void card(const std::string& file, const std::string& name, const std::string& tel) {
        write_card(device.device(), file, name, tel);
    }
    // Waits until the address book has reported at least one change.
    size_t settle() {
        size_t seen = 0;
        for (int i = 0; i < 100 && seen == 0; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            seen = model->contacts().process_changes();
        }
        return seen;
    }
    const Chat& chat(const std::u16string& key) { return *model->find_chat(key); }
    void load() {
        model = std::make_unique<ChatModel>();
        subscription = model->add_observer(events);
        model->load(nullptr);
    }

    TestDevice device;
    std::shared_ptr<StoreDatabase> store;
    std::unique_ptr<ChatModel> model;
    Events events;
    Subscription subscription;
    int count = 0;
};

TEST_F(ContactsLinkTest, ChatsTakeTheContactsNameAndOtherNumbersJoinThePhoneList) {
    card("anna.vcf", "Анна Петрова", "+7 912 345-67-89");
    deliver(u"89123456789", u"store name");
    deliver(u"+1 555 0100", u"Stranger");
    LogCapture log;
    load();

    const Chat& anna = chat(u"3456789");
    EXPECT_EQ(anna.name, u"Анна Петрова");
    EXPECT_EQ(anna.label, u"mobile");
    EXPECT_GT(anna.contact_id, 0);
    EXPECT_EQ(chat(u"5550100").name, u"Stranger");
    EXPECT_EQ(chat(u"5550100").contact_id, -1);
    long stranger = model->phones().find(u"5550100");
    ASSERT_GE(stranger, 0);
    EXPECT_EQ(model->phones()[static_cast<size_t>(stranger)].name, u"Stranger");
    EXPECT_EQ(model->phones()[static_cast<size_t>(stranger)].contact_id, -1);
    EXPECT_TRUE(log.has("load_contacts time:"));
    EXPECT_EQ(model->resolve_sender_name(u"+79123456789"), u"Анна Петрова");
    EXPECT_TRUE(log.has("find_contact_by_phone:+79123456789 to Анна Петрова\n"));
}

TEST_F(ContactsLinkTest, ContactChangesRenameChatsAsTheyHappen) {
    deliver(u"+1 555 0100", u"Stranger");
    load();
    LogCapture log;

    card("bob.vcf", "Bob", "+1 (555) 0100");
    ASSERT_GT(settle(), 0u);
    EXPECT_EQ(chat(u"5550100").name, u"Bob");
    EXPECT_EQ(events.renamed, (std::vector<std::u16string>{u"Bob"}));
    EXPECT_TRUE(log.has("PIM_ITEM_CREATED_LOCAL = "));
    EXPECT_TRUE(log.has("on_contact_added for id:"));

    card("bob.vcf", "Robert", "+1 (555) 0100");
    ASSERT_GT(settle(), 0u);
    EXPECT_EQ(chat(u"5550100").name, u"Robert");
    EXPECT_TRUE(log.has("on_contact_changed for id:"));

    // Removed: the chat keeps the name it has and its own entry comes back.
    std::filesystem::remove(device.device() / "contacts" / "bob.vcf");
    ASSERT_GT(settle(), 0u);
    EXPECT_EQ(chat(u"5550100").name, u"Robert");
    EXPECT_GE(model->phones().find(u"5550100"), 0);
    EXPECT_TRUE(log.has("on_contact_removed for id:"));

    // A poll brings new messages and links them.
    card("carol.vcf", "Carol", "+44 20 7946 0018");
    deliver(u"02079460018");
    EXPECT_TRUE(model->poll());
    EXPECT_EQ(chat(u"9460018").name, u"Carol");
}

}  // namespace
