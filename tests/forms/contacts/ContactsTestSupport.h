#pragma once
// The contacts form's test world: a device with an address book of vCards,
// the chat model over it, a form stack and a recording main form.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "chats/ChatModel.h"
#include "chats/PhoneEntry.h"
#include "forms/ChatForms.h"
#include "forms/FormTestSupport.h"
#include "platform/Paths.h"
#include "platform/store/StoreDatabase.h"
#include "support/AddressBook.h"
#include "widgets/WidgetKinds.h"

// The main form as the contacts form sees it: every request recorded.
class RecordingChatForms : public ChatForms {
public:
    void show_contacts(int32_t mode) override { contacts_modes.push_back(mode); }
    void show_templates(bool insert_mode) override { templates_modes.push_back(insert_mode); }
    void chat_take_handover() override { ++handovers_taken; }
    void chat_refresh() override { ++refreshes; }
    void open_chat(const PhoneEntry& recipient) override { opened.push_back(recipient); }
    void contact_chosen(const PhoneEntry& recipient) override { chosen.push_back(recipient); }

    std::vector<int32_t> contacts_modes;
    std::vector<bool> templates_modes;
    int handovers_taken = 0;
    int refreshes = 0;
    std::vector<PhoneEntry> opened;
    std::vector<PhoneEntry> chosen;
};

// A form fixture with a store, the stack on a 100 x 200 client area and
// contacts written as vCards before the model loads.
class ChatFormsFixture : public FormFixture {
protected:
    ChatFormsFixture() : store(StoreDatabase::open(paths::device_folder_utf8(), nullptr)) {
        host.client = {0, 0, 100, 200};
    }
    void card(const std::string& file, const std::string& name, const std::string& tel) {
        write_card(device.device(), file, name, tel);
    }
    void load_model() {
        model = std::make_unique<ChatModel>();
        model->load(nullptr);
        // As the chat form leaves it when it closes: no chat, sorted.
        model->select_chat(u"");
    }
    void frame() {
        stack.time_step(0.01);
        stack.draw(surface);
    }
    const std::vector<PhoneEntry>& phones() const { return model->phones().entries(); }

    WidgetKinds widget_kinds;
    TestHost host;
    FormStack stack{host};
    RecordingChatForms forms;
    std::shared_ptr<StoreDatabase> store;
    std::unique_ptr<ChatModel> model;
    RenderSurface surface{Size{100, 200}};
};
