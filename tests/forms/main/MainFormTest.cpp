// The chat list, its rows and the main menu on the program's default skin.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "chats/ChatModel.h"
#include "forms/chat/FormChat.h"
#include "forms/contacts/ContactsTestSupport.h"
#include "forms/main/ChatItem.h"
#include "forms/main/FormMain.h"
#include "platform/LocalTime.h"
#include "skin/elements/MultinodeElement.h"
#include "skin/elements/TextElement.h"
#include "support/DefaultLocale.h"
#include "widgets/list/VListElement.h"

namespace {

std::vector<std::u16string> keys(const std::vector<MenuEntry>& entries) {
    std::vector<std::u16string> out;
    for (const MenuEntry& e : entries) out.push_back(e.key);
    return out;
}

TEST(MainMenu, OffersLanguageAndSkinOnlyWhenThereIsAChoice) {
    using V = std::vector<std::u16string>;
    auto one = FormMain::main_menu(true, false, false);
    EXPECT_EQ(keys(one), (V{u"Magic4Buttons", u"Alerts", u"Templates", u"Cancel"}));
    EXPECT_EQ(one[0].row_node, u"MenuElement4Buttons");
    EXPECT_TRUE(one[1].checked);
    EXPECT_FALSE(FormMain::main_menu(false, false, false)[1].checked);
    EXPECT_EQ(keys(FormMain::main_menu(true, true, true)),
              (V{u"Magic4Buttons", u"Alerts", u"Templates", u"Language", u"Skin", u"Cancel"}));
    EXPECT_EQ(keys(FormMain::main_menu(true, false, true)),
              (V{u"Magic4Buttons", u"Alerts", u"Templates", u"Skin", u"Cancel"}));
}

TEST(MainMenu, AContactGoesIntoAMessageOnceEvenWhenItsNameIsItsNumber) {
    EXPECT_EQ(FormMain::contact_text({u"Anna", u"+491511", u"mobile", u"491511"}), u"Anna +491511");
    EXPECT_EQ(FormMain::contact_text({u"+491511", u"+491511", u"", u"491511"}), u"+491511");
    EXPECT_EQ(FormMain::contact_text({u"491511", u"+491511", u"", u"491511"}), u"+491511");
    EXPECT_EQ(FormMain::contact_text({u"", u"+491511", u"", u"491511"}), u"+491511");
    EXPECT_EQ(FormMain::contact_text({u"BANK", u"", u"", u"BANK"}), u"BANK");
}

TEST(ChatItemDay, TodayShowsTheTimeOtherDaysTheDayAndMonthInTheUsersOrder) {
    DefaultLocale locale("en_US");
    int64_t now = *local_time::parse_iso8601("2026-11-22T18:00:00");
    EXPECT_EQ(ChatItem::day_text(*local_time::parse_iso8601("2026-11-22T10:05:00"), now),
              u"10:05 AM");
    EXPECT_EQ(ChatItem::day_text(*local_time::parse_iso8601("2026-11-21T23:59:00"), now), u"11.21");
    DefaultLocale german("de_DE");
    EXPECT_EQ(ChatItem::day_text(*local_time::parse_iso8601("2025-11-22T10:05:00"), now), u"22.11");
}

class MainForm : public ChatFormsFixture {
protected:
    MainForm() {
        host.client = {0, 0, 240, 400};
        EXPECT_TRUE(properties.load_skin(QUILLMO_SKIN_DIR u"/default.skin", ScreenInfo{}));
    }
    void deliver(std::u16string number, std::u16string body) {
        StoredMessage m;
        m.sender_number = std::move(number);
        m.body = std::move(body);
        m.delivery_time = local_time::now_utc() + static_cast<int64_t>(++count) * 10000000;
        store->add_message(m);
    }
    std::u16string text(Element& row, std::u16string_view id) {
        auto* element = dynamic_cast<TextElement*>(row.find_element(id));
        return element && element->effectively_visible() ? element->text() : u"<hidden>";
    }

    int count = 0;
};

TEST_F(MainForm, RowsShowUnreadCountsAndOpeningAChatMarksItRead) {
    deliver(u"+79001234567", u"one");
    deliver(u"+79001234567", u"two");
    deliver(u"+79001234567", u"three");
    deliver(u"+44 20 7946 0958", u"quiet");
    model = std::make_unique<ChatModel>();
    model->start();
    model->load(nullptr);
    ASSERT_EQ(model->chats().size(), 2u);
    model->mark_chat_read(*model->chats()[0]);  // the London chat, newest

    FormMain form(properties);
    stack.push(form, false, false);
    ASSERT_EQ(form.list()->count(), 2);
    auto quiet = form.create_row(*form.list(), 0);
    auto busy = form.create_row(*form.list(), 1);
    ASSERT_TRUE(quiet && busy);
    EXPECT_EQ(text(*quiet, u"unread"), u"<hidden>");
    EXPECT_EQ(static_cast<MultinodeElement*>(quiet->find_element(u"icon"))->current(), 0u);
    EXPECT_EQ(text(*busy, u"unread"), u"(3)");
    EXPECT_EQ(static_cast<MultinodeElement*>(busy->find_element(u"icon"))->current(), 1u);
    EXPECT_EQ(text(*busy, u"title"), u"+79001234567");

    // Marking read itself, in the store and the totals, is the model's.
    form.row_tapped(*form.list(), 1);
    EXPECT_EQ(model->find_chat(u"1234567")->unread, 0);
    EXPECT_EQ(stack.top(), form.chat_form());
    stack.remove(*form.chat_form(), false);
    stack.remove(form, false);
}

// Several new chats from one poll: the newest is the first row on screen,
// the others below it.
TEST_F(MainForm, ChatsArrivingTogetherListFromTheNewestAtTheTop) {
    model = std::make_unique<ChatModel>();
    model->start();
    model->load(nullptr);
    FormMain form(properties);
    stack.push(form, false, false);
    deliver(u"+79001234567", u"older");
    deliver(u"+44 20 7946 0958", u"newer");
    ASSERT_TRUE(model->poll());
    for (int frame = 0; frame < 60; ++frame) stack.time_step(0.05);
    std::vector<std::pair<int32_t, std::u16string>> shown;
    VListElement& list = *form.list();
    for (size_t i = 0; i < list.child_count(); ++i)
        if (auto* title = dynamic_cast<TextElement*>(list.child(i)->find_element(u"title"));
            title && title->effectively_visible())
            shown.emplace_back(list.child(i)->rect().top, title->text());
    std::sort(shown.begin(), shown.end());
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].first, list.rect().top);
    EXPECT_EQ(shown[0].second, u"+44 20 7946 0958");
    EXPECT_EQ(shown[1].second, u"+79001234567");
    stack.remove(form, false);
}

TEST_F(MainForm, AChatWhoseMessagesLeftTheStoreLeavesTheList) {
    deliver(u"+79001234567", u"kept");
    deliver(u"+79005550000", u"gone");
    model = std::make_unique<ChatModel>();
    model->start();
    model->load(nullptr);
    FormMain form(properties);
    ASSERT_EQ(form.list()->count(), 2);
    // The newest chat's only message goes behind the model's back.
    ASSERT_TRUE(model->store().delete_sms(model->chats()[0]->messages().back()));
    EXPECT_EQ(form.create_row(*form.list(), 0), nullptr);
    ASSERT_EQ(model->chats().size(), 1u);
    EXPECT_NE(form.create_row(*form.list(), 0), nullptr);
}

}  // namespace
