// The alert and the splash on the program's own skins.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "chats/ChatModel.h"
#include "forms/alert/AlertButtonListener.h"
#include "forms/alert/FormAlert.h"
#include "forms/alert/FormSplash.h"
#include "messaging/SmsRecord.h"
#include "skin/NodeNotFoundInSkin.h"
#include "skin/Properties.h"
#include "skin/elements/ElementKinds.h"
#include "skin/elements/ProgressElement.h"
#include "skin/elements/TextElement.h"
#include "support/AddressBook.h"
#include "support/TestDevice.h"
#include "widgets/WidgetKinds.h"

namespace {

class Pressed : public AlertButtonListener {
public:
    void alert_button(int32_t id) override { ids.push_back(id); }
    std::vector<int32_t> ids;
};

class AlertForms : public ::testing::Test {
protected:
    AlertForms() {
        EXPECT_TRUE(properties.load_skin(QUILLMO_SKIN_DIR u"/default.skin", ScreenInfo{}));
    }
    static SmsRecord from(std::u16string number, std::u16string name, std::u16string body) {
        SmsRecord record;
        record.details().sender = {std::move(name), std::move(number)};
        record.details().body = std::move(body);
        return record;
    }
    std::u16string title(FormAlert& alert) {
        return static_cast<TextElement*>(alert.find_element(u"title"))->text();
    }

    TestDevice device;
    ElementKinds kinds;
    WidgetKinds widgets;
    Properties properties;
    Pressed pressed;
};

TEST_F(AlertForms, TheSenderIsTheContactWithItsChatKeyElseTheStoredNameElseTheNumber) {
    // Saved without the country prefix, arriving with it.
    write_card(device.device(), "card.vcf", "Анна Петрова", "8 912 345-67-89");
    ChatModel model;
    model.load_contacts();
    FormAlert alert(properties, pressed);

    alert.fill(from(u"+79123456789", u"Store name", u"Hello :)"));
    EXPECT_EQ(title(alert), u"Анна Петрова");
    EXPECT_EQ(alert.view_action(), u"open:+79123456789");
    EXPECT_EQ(alert.message().body(), u"Hello :)");

    // The same form shows the next message.
    alert.fill(from(u"+79120000000", u"Store name", u"Second"));
    EXPECT_EQ(title(alert), u"Store name");
    EXPECT_EQ(alert.message().body(), u"Second");
    alert.fill(from(u"+79120000000", u"", u"Third"));
    EXPECT_EQ(title(alert), u"+79120000000");

    // A sender without a number opens the chat keyed by its name.
    alert.fill(from(u"BANK", u"", u"Your code is 1234"));
    EXPECT_EQ(title(alert), u"BANK");
    EXPECT_EQ(alert.view_action(), u"open:BANK");
}

TEST_F(AlertForms, TheSplashBarIsClampedAndRedrawsOnlyWhenItMoves) {
    Properties splash_skin;
    ASSERT_TRUE(splash_skin.load_skin(QUILLMO_SKIN_DIR u"/splash.skin", ScreenInfo{}));
    FormSplash splash(splash_skin);
    ASSERT_NE(splash.progress(), nullptr);
    EXPECT_EQ(splash.progress()->value(), 0.0);
    splash.set_progress(1.5);
    EXPECT_EQ(splash.progress()->value(), 1.0);
    splash.set_progress(-2);
    EXPECT_EQ(splash.progress()->value(), 0.0);

    splash.set_progress(0.25);
    RenderSurface surface;
    ASSERT_TRUE(surface.recreate({240, 320}));
    splash.set_x_extent(0, 240);
    splash.set_y_extent(0, 320);
    splash.draw(surface);
    EXPECT_FALSE(splash.needs_redraw());
    splash.set_progress(0.25);
    EXPECT_FALSE(splash.needs_redraw());
    splash.set_progress(0.5);
    EXPECT_TRUE(splash.needs_redraw());

    // The main skin has no splash.
    EXPECT_THROW(FormSplash{properties}, NodeNotFoundInSkin);
}

}  // namespace
