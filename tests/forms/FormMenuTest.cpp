// Menus: levels opened through the provider, rows from the nodes entries
// name, disabled entries, the button row, and closing by a leaf or the back
// key.
#include <gtest/gtest.h>

#include "forms/FormMenu.h"
#include "forms/FormTestSupport.h"
#include "widgets/WidgetKinds.h"
#include "widgets/list/VListElement.h"
#include "widgets/menu/MenuProvider.h"

namespace {

const char kSkin[] = R"({"named": {
    "Menu": {"children": [{"strings": {"type": "node", "id": "panel"}, "children": [
        {"strings": {"type": "text", "id": "caption", "anchor_y": "MIN_SIDE"}, "points": {"design_size": [0, 10]}},
        {"strings": {"type": "vlist", "id": "vlist"}, "points": {"border_min": [0, 10]}}]}]},
    "MenuElement": {"points": {"design_size": [0, 10]}, "children": [
        {"strings": {"type": "text", "id": "#text"}},
        {"strings": {"type": "node", "id": "checked"}},
        {"strings": {"type": "node", "id": "separator"}}]},
    "MenuElementDisabled": {"strings": {"id": "off"}, "points": {"design_size": [0, 10]}, "children": [
        {"strings": {"type": "text", "id": "#text"}}]},
    "MenuElement4Buttons": {"points": {"design_size": [0, 10]}, "children": [
        {"strings": {"type": "button", "id": "Exit", "anchor_x": "MIN_SIDE"}, "points": {"design_size": [10, 10]}}]}}})";

class Provider : public MenuProvider {
public:
    void fill(const std::u16string&, const std::u16string& key, std::u16string&,
              std::vector<MenuEntry>& entries) override {
        asked.push_back(key);
        if (key == u"Main") {
            entries.push_back({u"Sub", u"More"});
            entries.push_back({u"Off", u"", u"", u"", false});
            entries.push_back({u"Lang", u"Language", u"", u"", true, false, checked});
            entries.push_back({u"Gone", u"", u"", u"NoSuchRow"});
            entries.push_back({u"Leaf", u"Leaf"});
        } else if (key == u"Sub") {
            entries.push_back({u"Leaf", u"Leaf"});
            entries.push_back(
                {std::u16string(MenuEntry::kButtonRow), u"", u"", u"MenuElement4Buttons"});
        }
    }
    std::vector<std::u16string> asked;
    bool checked = true;
};

class Menus : public FormFixture {
protected:
    void SetUp() override {
        load_skin(kSkin);
        host.client = {0, 0, 100, 200};
        menu = std::make_unique<FormMenu>(properties, provider);
    }
    void frame() {
        stack.time_step(0.01);
        stack.draw(surface);
    }
    // Taps the middle of list row i (10 pixels each, from y = 10).
    void tap_row(int i) {
        frame();
        const int32_t y = 15 + 10 * i;
        stack.pointer_button({50, y, 0, 0, true, false});
        stack.pointer_button({50, y, 0, 0, false, false});
    }
    bool on_stack() const { return stack.contains(*menu); }

    WidgetKinds widget_kinds;
    TestHost host;
    FormStack stack{host};
    Provider provider;
    std::unique_ptr<FormMenu> menu;
    RenderSurface surface{Size{100, 200}};
};

TEST_F(Menus, OpeningBuildsTheRowsEachEntryNames) {
    menu->open(u"Main", u"", true);
    frame();
    ASSERT_TRUE(on_stack());
    EXPECT_EQ(stack.entries().back().overlay, true);
    EXPECT_EQ(menu->caption_text(), u"Main") << "a key missing from the language shows itself";
    VListElement& list = *menu->list();
    // The entry whose row node the skin lacks is dropped, not the rows after it.
    ASSERT_EQ(menu->entries().size(), 4u);
    EXPECT_EQ(list.count(), 4);
    EXPECT_EQ(*list.row_element(0)->find_element(u"#text")->shown_text(), u"More");
    EXPECT_EQ(list.row_element(1)->id(), u"off") << "a disabled row comes from its Disabled node";
    EXPECT_TRUE(list.row_element(2)->find_element(u"checked")->visible());
    EXPECT_FALSE(list.row_element(0)->find_element(u"checked")->visible());
    EXPECT_EQ(*list.row_element(3)->find_element(u"#text")->shown_text(), u"Leaf");
}

TEST_F(Menus, LevelsReplaceEachOtherAndALeafRunsOnceAndCloses) {
    menu->open(u"Main", u"", true);
    tap_row(1);  // disabled: nothing
    EXPECT_EQ(provider.asked, std::vector<std::u16string>{u"Main"});

    tap_row(0);
    EXPECT_TRUE(on_stack());
    EXPECT_EQ(menu->caption_text(), u"More");
    EXPECT_EQ(menu->entries().size(), 2u);

    tap_row(0);
    EXPECT_EQ(provider.asked, (std::vector<std::u16string>{u"Main", u"Sub", u"Leaf"}));
    EXPECT_FALSE(on_stack());
    frame();
    EXPECT_EQ(provider.asked.size(), 3u) << "the command is carried out once";
}

TEST_F(Menus, TheButtonRowOpensItsButtonsIds) {
    menu->open(u"Sub", u"", true);
    frame();
    stack.pointer_button({5, 25, 0, 0, true, false});
    stack.pointer_button({5, 25, 0, 0, false, false});
    EXPECT_EQ(provider.asked.back(), u"Exit");
    EXPECT_FALSE(on_stack());
}

TEST_F(Menus, TheSameLevelAgainKeepsItsScrollAndTheBackKeyCloses) {
    menu->open(u"Main", u"", true);
    frame();
    Element* first_row = menu->list()->row_element(0);
    provider.checked = false;
    menu->open(u"Main", u"", false);
    frame();
    EXPECT_NE(menu->list()->row_element(0), nullptr);
    EXPECT_FALSE(menu->list()->row_element(2)->find_element(u"checked")->visible());
    EXPECT_NE(menu->list()->row_element(0), first_row) << "rows were made again";

    EXPECT_TRUE(stack.key({KeyCode::Backspace, true, true}));
    EXPECT_FALSE(on_stack());
}

}  // namespace
