// The chat form on a real device store: the bubbles and their headings,
// sending to the selected recipients, the message menu, links, arriving
// messages, closing, and the scroll indicator.
#include <gtest/gtest.h>

#include <cstdlib>

#include "chats/ChatKey.h"
#include "chats/ChatModel.h"
#include "forms/FormMenu.h"
#include "forms/chat/FormChat.h"
#include "forms/chat/FormLink.h"
#include "forms/chat/MessageState.h"
#include "forms/chat/SMSItem.h"
#include "forms/contacts/ContactsTestSupport.h"
#include "messaging/Recipient.h"
#include "platform/LocalTime.h"
#include "platform/store/StoreDatabase.h"
#include "skin/NodeNotFound.h"
#include "skin/elements/ButtonElement.h"
#include "skin/elements/MultinodeElement.h"
#include "skin/elements/TextElement.h"
#include "support/FileSizeLimit.h"
#include "support/LogCapture.h"
#include "support/StartRecorder.h"
#include "widgets/edit/EditElement.h"
#include "widgets/list/VListElement.h"
#include "widgets/richtext/RichTextElement.h"

namespace {

using Bytes = std::vector<uint8_t>;

// A 120 x 200 form: the list over y 0..150 right of a 10 pixel scroll track,
// 30 pixels of "list_offset" above its first row; bubbles 20 pixels high.
const char kSkin[] = R"({"named": {
  "FormChat": {"children": [
    {"strings": {"type": "node", "id": "list_offset", "anchor_y": "MIN_SIDE"}, "points": {"design_size": [0, 30]}},
    {"strings": {"type": "vlist", "id": "list"}, "points": {"border_max": [10, 50]}},
    {"strings": {"type": "node", "id": "scroll", "anchor_x": "MAX_SIDE"}, "points": {"design_size": [10, 0], "border_max": [0, 50]}, "children": [
      {"strings": {"type": "button", "id": "scroll_button"}},
      {"strings": {"type": "color", "id": "scroll_indicator", "anchor_y": "MIN_SIDE"}, "points": {"design_size": [10, 10]}, "colors": {"color": [9, 9, 9]}}]},
    {"strings": {"type": "text", "id": "title", "anchor_y": "MIN_SIDE"}, "points": {"design_size": [0, 10]}},
    {"strings": {"type": "text", "id": "type", "anchor_y": "MIN_SIDE"}, "points": {"border_min": [0, 10], "design_size": [0, 10]}},
    {"strings": {"type": "button", "id": "btnTitle", "anchor_y": "MIN_SIDE"}, "points": {"design_size": [0, 10], "border_max": [30, 0]}},
    {"strings": {"type": "button", "id": "btnCopy", "anchor_y": "MIN_SIDE"}, "points": {"border_min": [0, 20], "design_size": [0, 10]}, "children": [
      {"strings": {"type": "text", "id": "#text"}}]},
    {"strings": {"type": "text", "id": "symbols", "anchor_y": "MAX_SIDE"}, "points": {"border_max": [0, 40], "design_size": [0, 10]}},
    {"strings": {"type": "edit", "id": "edit", "anchor_y": "MAX_SIDE"}, "integers": {"wrap": 1}, "points": {"border_max": [0, 10], "design_size": [0, 30]}},
    {"strings": {"type": "button", "id": "btnClose", "anchor_x": "MIN_SIDE", "anchor_y": "MAX_SIDE"}, "points": {"design_size": [20, 10]}},
    {"strings": {"type": "button", "id": "btnSend", "anchor_x": "CENTER", "anchor_y": "MAX_SIDE"}, "points": {"design_size": [20, 10]}},
    {"strings": {"type": "button", "id": "btnMenu", "anchor_x": "MAX_SIDE", "anchor_y": "MAX_SIDE"}, "points": {"design_size": [20, 10]}}]},
  "SMSItemIn": BUBBLE_IN,
  "SMSItemOut": BUBBLE_OUT,
  "FormLink": {"children": [
    {"strings": {"type": "text", "id": "text"}},
    {"strings": {"type": "button", "id": "btnInstall", "anchor_y": "MIN_SIDE"}, "points": {"design_size": [0, 10]}},
    {"strings": {"type": "button", "id": "btnAbout", "anchor_y": "MAX_SIDE"}, "points": {"design_size": [0, 10]}}]},
  "Menu": {"children": [{"strings": {"type": "node", "id": "panel"}, "children": [
    {"strings": {"type": "vlist", "id": "vlist"}}]}]},
  "MenuElement": {"points": {"design_size": [0, 10]}, "children": [{"strings": {"type": "text", "id": "#text"}}]},
  "MenuElementRed": {"strings": {"id": "red"}, "points": {"design_size": [0, 10]}, "children": [{"strings": {"type": "text", "id": "#text"}}]}}})";

std::string bubble(const char* id) {
    std::string pages;
    for (int i = 0; i < 7; ++i)
        pages += std::string(i ? "," : "") + R"({"strings": {"type": "node"}})";
    return std::string(R"({"strings": {"id": ")") + id +
           R"("}, "points": {"design_size": [0, 20]}, "children": [
    {"strings": {"type": "node", "id": "day_node", "anchor_y": "MIN_SIDE"}, "points": {"design_size": [0, 5]}, "children": [
      {"strings": {"type": "button", "id": "day"}}]},
    {"strings": {"type": "richtext", "id": "body"}, "colors": {"color": [1, 2, 3]}},
    {"strings": {"type": "button", "id": "time", "anchor_x": "MAX_SIDE"}, "points": {"design_size": [20, 0]}},
    {"strings": {"type": "multinode", "id": "icon", "anchor_x": "MIN_SIDE"}, "points": {"design_size": [5, 5]}, "children": [)" +
           pages + R"(]},
    {"strings": {"type": "node", "id": "link"}, "colors": {"color": [0, 0, 255]}}]})";
}

std::string skin_source() {
    std::string s = kSkin;
    s.replace(s.find("BUBBLE_IN"), 9, bubble("in"));
    s.replace(s.find("BUBBLE_OUT"), 10, bubble("out"));
    return s;
}

const std::u16string kAnn = u"+79123456789";
const std::u16string kAnnKey = u"3456789";

class FormChatTest : public ChatFormsFixture {
protected:
    void SetUp() override {
        load_skin(skin_source());
        host.client = {0, 0, 120, 200};
        ASSERT_TRUE(store);
        const char* path = std::getenv("PATH");
        saved_path = path ? path : "";
        std::filesystem::create_directories(device.program() / "bin");
        setenv("PATH", ((device.program() / "bin").string() + ":" + saved_path).c_str(), 1);
    }
    void TearDown() override { setenv("PATH", saved_path.c_str(), 1); }

    // A message at hour h of day d (1-based, November 2026).
    Bytes add(StoreFolderKind folder, int day, int hour, std::u16string body,
              std::u16string number = kAnn, uint32_t flags = 0) {
        StoredMessage m;
        m.folder = folder;
        m.flags = flags;
        if (folder == StoreFolderKind::Inbox) {
            m.sender_number = number;
        } else {
            m.recipients.push_back({u"", number});
            m.flags |= kMsgFlagFromMe | kMsgFlagRead;
        }
        m.delivery_time = *local_time::parse_iso8601("2026-11-01T00:00:00") +
                          ((day - 1) * 24 + hour) * 3600 * local_time::kTicksPerSecond;
        m.body = std::move(body);
        return store->add_message(m);
    }
    // The model as the program runs it: started and loaded.
    void start_model() {
        model = std::make_unique<ChatModel>();
        model->start();
        model->load(nullptr);
    }
    // The form on the stack showing chat (by default the chat of kAnn).
    void show(Chat* chat = nullptr) {
        if (!model) start_model();
        form = std::make_unique<FormChat>(properties, forms);
        form->set_chat(chat ? chat : model->find_chat(kAnnKey));
        stack.push(*form, false, false);
        frame();
    }
    void run(double seconds) {
        for (double t = 0; t < seconds; t += 0.01) frame();
    }
    void tap(const Element& element) {
        const Rect r = element.rect();
        const int32_t x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
        stack.pointer_button({x, y, 0, 0, true, false});
        stack.pointer_button({x, y, 0, 0, false, false});
    }
    SMSItem* bubble_at(int index) {
        return dynamic_cast<SMSItem*>(form->list()->row_element(index));
    }
    // Opens the menu of message index and chooses its entry.
    void choose(int index, int entry) {
        form->row_tapped(*form->list(), index);
        ASSERT_EQ(stack.top(), form->menu());
        form->menu()->row_tapped(*form->menu()->list(), entry);
    }
    Element& child(std::u16string_view id) { return *form->find_element(id); }
    std::u16string text_of(std::u16string_view id) { return *child(id).shown_text(); }
    size_t folder_size(StoreFolderKind folder) { return store->list_messages(folder)->size(); }

    std::unique_ptr<FormChat> form;
    std::string saved_path;
};

}  // namespace

TEST(FormChatRecipients, NamesGoWithTheirNumbersUnlessTheNumberHoldsThem) {
    PhoneList phones;
    phones.add({u"Ann", u"+79123456789", u"mobile", u"3456789", 1, 1});
    phones.add({u"+7912", u"+79120000001", u"", u"0000001", -1, 1});
    phones.add({u"", u"555", u"", u"555", -1, 1});
    phones.add({u"Bob", u"+79001112233", u"", u"1112233", 2, 1});
    phones.add({u"Eve", u"+79005554433", u"home", u"5554433", 3, 0});
    EXPECT_EQ(FormChat::recipients(phones), (std::vector<Recipient>{{u"Ann", u"+79123456789"},
                                                                    {u"", u"+79120000001"},
                                                                    {u"", u"555"},
                                                                    {u"Bob", u"+79001112233"}}));
    EXPECT_EQ(FormChat::copy_list(phones, u"3456789"), u"+7912; 555; Bob");
    EXPECT_EQ(FormChat::copy_list(phones, u"1112233"), u"Ann mobile; +7912; 555");
}

TEST_F(FormChatTest, BubblesShowTheirMessageWithAHeadingWhereTheDayChanges) {
    add(StoreFolderKind::Inbox, 1, 10, u"first", kAnn, kMsgFlagRead);
    add(StoreFolderKind::Inbox, 1, 11, u"same day");
    add(StoreFolderKind::SentItems, 2, 9, u"next day");
    add(StoreFolderKind::Outbox, 2, 10, u"waiting");
    show();
    run(1);

    EXPECT_EQ(text_of(u"title"), kAnn);
    EXPECT_FALSE(child(u"type").visible()) << "no contact, no label";
    EXPECT_EQ(text_of(u"symbols"), u"1 SMS (160)");
    ASSERT_EQ(form->list()->count(), 4);
    const std::vector<bool> headings{true, false, true, false};
    const std::vector<int> states{kStateIncomingRead, kStateIncomingUnread, kStateSent,
                                  kStateWaiting};
    const std::vector<std::u16string> nodes{u"in", u"in", u"out", u"out"};
    for (int i = 0; i < 4; ++i) {
        SMSItem* item = bubble_at(i);
        ASSERT_NE(item, nullptr) << i;
        EXPECT_EQ(item->day_node()->visible(), headings[i]) << i;
        EXPECT_EQ(static_cast<int>(item->icon()->current()), states[i]) << i;
        EXPECT_EQ(item->id(), nodes[i]) << i;
        EXPECT_FALSE(item->time()->button_text().empty());
    }
    EXPECT_EQ(*bubble_at(2)->body()->shown_text(), u"next day");
    EXPECT_NE(bubble_at(0)->day()->button_text(), bubble_at(2)->day()->button_text());
    // Bubbles that fit the view rest under the list's offset.
    EXPECT_EQ(bubble_at(0)->rect().top, form->list()->rect().top + 30);
    EXPECT_EQ(bubble_at(3)->rect().top, form->list()->rect().top + 90);
}

TEST_F(FormChatTest, SendingPutsOneMessageForEverySelectedRecipientIntoTheOutbox) {
    StartRecorder tmail(device.device() / "Windows" / "tmail.exe");
    add(StoreFolderKind::Inbox, 1, 10, u"hi");
    show();
    // A second recipient chosen in the contacts form.
    model->phones().add({u"Bob", u"+79001112233", u"mobile", chat_key(u"+79001112233"), 7, 1});
    form->refresh();
    EXPECT_TRUE(child(u"btnCopy").visible());
    EXPECT_EQ(static_cast<ButtonElement&>(child(u"btnCopy")).button_text(), u"Copy: Bob mobile");

    form->edit()->set_text(u"Hello €");
    EXPECT_EQ(text_of(u"symbols"), u"1 SMS (152)");
    EXPECT_EQ(form->chat()->text, u"Hello €") << "the text waits with its chat";
    LogCapture log;
    frame();
    tap(child(u"btnSend"));

    const auto outbox = *store->list_messages(StoreFolderKind::Outbox);
    ASSERT_EQ(outbox.size(), 1u);
    EXPECT_EQ(outbox[0].body, u"Hello €");
    EXPECT_EQ(outbox[0].recipients,
              (std::vector<StoredRecipient>{{u"", kAnn}, {u"Bob", u"+79001112233"}}));
    EXPECT_EQ(form->edit()->text(), u"");
    EXPECT_EQ(text_of(u"symbols"), u"1 SMS (160)");
    EXPECT_TRUE(log.has("send sms recipients:2 body:Hello €\n"));
    EXPECT_TRUE(log.has("after send\n"));
    EXPECT_EQ(tmail.starts(), "-RunInBKG\n");

    // The message reaches the chat from the Outbox with the next poll.
    model->poll();
    frame();
    ASSERT_EQ(form->list()->count(), 2);
    EXPECT_EQ(form->list()->count(), static_cast<int>(form->chat()->size()));
}

TEST_F(FormChatTest, ASendTheStoreRefusesKeepsTheText) {
    StartRecorder tmail(device.device() / "Windows" / "tmail.exe");
    add(StoreFolderKind::Inbox, 1, 10, u"hi");
    show();
    form->edit()->set_text(u"keep me");
    {
        // No page of the store can be written.
        FileSizeLimit limit(1024);
        EXPECT_FALSE(form->send());
        // Nor does a message the store keeps leave its chat.
        form->delete_message(0);
    }
    EXPECT_EQ(form->edit()->text(), u"keep me");
    EXPECT_EQ(form->chat()->size(), 1u);
    EXPECT_EQ(folder_size(StoreFolderKind::Inbox), 1u);
    // Nor is a message sent to nobody: it would wait in the Outbox for ever.
    model->select_chat(u"");
    EXPECT_FALSE(form->send());
    EXPECT_EQ(form->edit()->text(), u"keep me");
    EXPECT_EQ(folder_size(StoreFolderKind::Outbox), 0u);
    EXPECT_EQ(tmail.starts(std::chrono::milliseconds(0)), "");
}

TEST_F(FormChatTest, TheMessageMenuDeletesForwardsAndResends) {
    add(StoreFolderKind::Inbox, 1, 10, u"one");
    add(StoreFolderKind::Inbox, 1, 11, u"two");
    add(StoreFolderKind::Inbox, 2, 12, u"three");
    show();
    run(1);

    choose(1, 0);  // DeleteSMS
    run(1);
    EXPECT_NE(stack.top(), form->menu()) << "the menu closed";
    ASSERT_EQ(form->chat()->size(), 2u);
    EXPECT_EQ(form->list()->count(), 2);
    EXPECT_EQ(folder_size(StoreFolderKind::Inbox), 2u);
    EXPECT_EQ(*bubble_at(1)->body()->shown_text(), u"three");
    EXPECT_TRUE(bubble_at(1)->day_node()->visible());

    choose(0, 2);  // Resend
    EXPECT_EQ(form->edit()->text(), u"one");
    EXPECT_EQ(text_of(u"symbols"), u"1 SMS (157)");

    choose(1, 1);  // Forward
    EXPECT_EQ(model->handover_text(), u"three");
    EXPECT_FALSE(stack.contains(*form));
    EXPECT_EQ(model->current_chat_key(), u"");
}

TEST_F(FormChatTest, AMessageTheStoreNoLongerHoldsLeavesAGapNotAShift) {
    add(StoreFolderKind::Inbox, 1, 10, u"one");
    const Bytes gone = add(StoreFolderKind::Inbox, 1, 11, u"two");
    add(StoreFolderKind::Inbox, 1, 12, u"three");
    start_model();
    ASSERT_TRUE(store->delete_message(gone));
    show();
    run(1);

    EXPECT_EQ(form->list()->count(), 3);
    EXPECT_EQ(bubble_at(1), nullptr);
    ASSERT_NE(bubble_at(2), nullptr);
    EXPECT_EQ(*bubble_at(2)->body()->shown_text(), u"three");
    choose(2, 2);  // Resend names the message tapped
    EXPECT_EQ(form->edit()->text(), u"three");
}

TEST_F(FormChatTest, LinksAreMailedCalledOrBrowsedAndAContactShowsItsCard) {
    StartRecorder opener(device.program() / "bin" / "xdg-open");
    const std::filesystem::path card =
        write_card(device.device(), "ann.vcf", "Ann", "+79123456789");
    add(StoreFolderKind::Inbox, 1, 10, u"hi");
    show();
    // Without the companion application the desktop's address book shows
    // the contact's own card.
    form->show_contact();
    EXPECT_EQ(opener.starts(), card.string() + "\n");
    opener.forget();
    // Its card removed while the chat is open: the dialog offers the
    // companion application instead of opening a file that is gone.
    std::filesystem::remove(card);
    form->show_contact();
    EXPECT_EQ(opener.starts(), "");
    EXPECT_NE(stack.top(), form.get());
    stack.remove(*stack.top(), false);
    form->open_link(u"ann@example.org");
    EXPECT_EQ(opener.starts(), "mailto:ann@example.org\n");
    opener.forget();
    form->open_link(u"+7 (912) 345-67-89");
    EXPECT_EQ(opener.starts(), "tel:+79123456789\n");
    opener.forget();
    form->open_link(u"www.example.com");
    EXPECT_EQ(opener.starts(), "http://www.example.com\n");
}

TEST_F(FormChatTest, AMessageArrivingWhileTheChatIsOnTopIsRead) {
    add(StoreFolderKind::Inbox, 1, 10, u"one", kAnn, kMsgFlagRead);
    show();
    add(StoreFolderKind::Inbox, 1, 11, u"two");
    model->poll();
    EXPECT_EQ(form->list()->count(), 2);
    EXPECT_EQ(form->chat()->unread, 0);
    EXPECT_EQ((*store->list_messages(StoreFolderKind::Inbox))[1].flags & kMsgFlagRead,
              kMsgFlagRead);

    // Under another form it stays unread.
    TestForm other(properties, u"Menu");
    stack.push(other, false, false);
    add(StoreFolderKind::Inbox, 1, 12, u"three");
    model->poll();
    EXPECT_EQ(form->chat()->unread, 1);
    EXPECT_EQ((*store->list_messages(StoreFolderKind::Inbox))[2].flags & kMsgFlagRead, 0u);
    stack.remove(other, false);
}

TEST_F(FormChatTest, ClosingANewChatThatWasNeverSentDropsIt) {
    add(StoreFolderKind::Inbox, 1, 10, u"hi");
    start_model();
    show(&model->insert_chat(std::make_unique<Chat>(ChatIdentity{u"", u"555", u"555"})));
    tap(child(u"btnClose"));
    EXPECT_FALSE(stack.contains(*form));
    EXPECT_EQ(model->find_chat(u"555"), nullptr);
    EXPECT_EQ(form->chat(), nullptr);

    form->set_chat(model->find_chat(kAnnKey));
    stack.push(*form, false, false);
    frame();
    tap(child(u"btnClose"));
    EXPECT_NE(model->find_chat(kAnnKey), nullptr) << "a chat with messages stays";
}

TEST_F(FormChatTest, TheIndicatorFollowsTheListAndTheTrackScrollsIt) {
    std::vector<StoredMessage> many;
    for (int i = 0; i < 400; ++i) {
        StoredMessage m;
        m.sender_number = kAnn;
        m.flags = kMsgFlagRead;
        m.delivery_time = *local_time::parse_iso8601("2026-11-01T00:00:00") +
                          int64_t{i} * 60 * local_time::kTicksPerSecond;
        m.body = u"message " + std::u16string(1, static_cast<char16_t>(u'a' + i % 26));
        many.push_back(m);
    }
    ASSERT_TRUE(store->add_messages(many));
    show();
    run(1);
    // Only the bubbles in view were made, and only their messages read.
    EXPECT_LE(form->list()->window_size(), 10u);
    size_t read = 0;
    for (const SmsRecord& r : form->chat()->messages()) read += !r.correspondent().empty();
    EXPECT_LE(read, 12u);

    const Element& track = child(u"scroll");
    const Element& thumb = child(u"scroll_indicator");
    EXPECT_EQ(thumb.rect().bottom, track.rect().bottom) << "the chat shows its end";
    EXPECT_EQ(bubble_at(399)->rect().bottom, form->list()->rect().bottom);
    EXPECT_EQ(bubble_at(393)->rect().bottom, bubble_at(394)->rect().top);
    EXPECT_EQ(thumb.size().height, 10) << "never thinner than it is wide";

    const Rect t = track.rect();
    stack.pointer_button({t.left + 5, t.top, 0, 0, true, false});
    frame();
    EXPECT_EQ(form->list()->window_index(0), 0);
    EXPECT_EQ(thumb.rect().top, t.top);
    stack.pointer_move({t.left + 5, t.top + (t.bottom - t.top) / 2, 0, 0, true, false});
    frame();
    EXPECT_EQ(form->list()->window_index(0), 200);
    stack.pointer_button({t.left + 5, t.top + 40, 0, 0, false, false});
}

TEST_F(FormChatTest, ASkinWithoutAChildTheFormNeedsIsRefused) {
    std::string source = skin_source();
    source.replace(source.find("\"scroll_indicator\""), 18, "\"thumb\"");
    load_skin(source, "broken.skin");
    model = std::make_unique<ChatModel>();
    try {
        FormChat broken(properties, forms);
        FAIL() << "loaded";
    } catch (const NodeNotFound& e) {
        EXPECT_EQ(e.wanted_id, u"scroll_indicator");
    }
}
