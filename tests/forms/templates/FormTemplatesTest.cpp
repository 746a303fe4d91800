// The templates form: the user's own before the defaults, adding, deleting,
// and where a chosen template goes in either mode.
#include <gtest/gtest.h>

#include "chats/TemplatesStore.h"
#include "forms/FormMenu.h"
#include "forms/contacts/ContactsTestSupport.h"
#include "forms/templates/FormTemplates.h"
#include "lang/LangFiles.h"
#include "platform/Registry.h"
#include "widgets/edit/EditElement.h"
#include "widgets/list/VListElement.h"

namespace {

using List = std::vector<std::u16string>;

const char kSkin[] = R"({"named": {
    "FormTemplates": {"children": [
        {"strings": {"type": "edit", "id": "edit", "anchor_y": "MIN_SIDE"}, "points": {"design_size": [0, 10]}},
        {"strings": {"type": "button", "id": "btnClose", "anchor_x": "MIN_SIDE", "anchor_y": "MIN_SIDE"}, "points": {"design_size": [10, 10]}},
        {"strings": {"type": "button", "id": "btnAdd", "anchor_x": "MAX_SIDE", "anchor_y": "MIN_SIDE"}, "points": {"design_size": [10, 10]}},
        {"strings": {"type": "vlist", "id": "list"}, "points": {"border_min": [0, 10]}}]},
    "TemplateItem": {"points": {"design_size": [0, 10]}, "children": [
        {"strings": {"type": "text", "id": "text"}}]},
    "Menu": {"children": [{"strings": {"type": "node", "id": "panel"}, "children": [
        {"strings": {"type": "vlist", "id": "vlist"}}]}]},
    "MenuElement": {"points": {"design_size": [0, 10]}, "children": [
        {"strings": {"type": "text", "id": "#text"}}]}}})";

const RegistryPath kKey(TemplatesStore::kSettingsKey);

std::u16string stored() {
    std::u16string value = u"<absent>";
    registry::read_string(kKey, TemplatesStore::kValueName, value);
    return value;
}

class FormTemplatesTest : public ChatFormsFixture {
protected:
    void SetUp() override {
        load_model();
        load_skin(kSkin);
        // The language gives two default templates.
        write_file(device.program() / "english.lng", utf16_file(u"DefaultTemplates=Yes/No\r\n"));
        ASSERT_TRUE(properties.dictionary().load(u"%app_path%/english.lng"));
        ASSERT_TRUE(registry::write_string(kKey, TemplatesStore::kValueName, u"Call me"));
        form = std::make_unique<FormTemplates>(properties, forms);
    }
    void TearDown() override {
        if (form && stack.contains(*form)) stack.remove(*form, false);
    }
    ButtonElement& button(std::u16string_view id) {
        return *dynamic_cast<ButtonElement*>(form->find_element(id));
    }
    // The keys of the menu the form shows now.
    List menu_keys() const {
        List keys;
        if (!form->menu() || !stack.contains(*form->menu())) return keys;
        for (const MenuEntry& entry : form->menu()->entries()) keys.push_back(entry.key);
        return keys;
    }
    void choose_in_menu(std::u16string_view key) {
        const std::vector<MenuEntry>& entries = form->menu()->entries();
        for (size_t i = 0; i < entries.size(); ++i)
            if (entries[i].key == key) {
                form->menu()->row_tapped(*form->menu()->list(), static_cast<int>(i));
                return;
            }
        FAIL() << "no such entry";
    }
    void add(std::u16string_view text) {
        form->edit()->set_text(text);
        form->clicked(button(u"btnAdd"), {});
    }

    std::unique_ptr<FormTemplates> form;
};

TEST_F(FormTemplatesTest, OnlyTheUsersOwnTemplatesOfferDelete) {
    EXPECT_EQ(form->templates(), (List{u"Call me", u"Yes", u"No"}));
    EXPECT_EQ(form->list()->count(), 3);
    stack.push(*form, false, false);

    form->row_tapped(*form->list(), 1);
    EXPECT_EQ(menu_keys(), (List{u"Send", u"Cancel"}));
    choose_in_menu(u"Cancel");
    EXPECT_TRUE(menu_keys().empty());
    EXPECT_TRUE(stack.contains(*form));

    form->row_tapped(*form->list(), 0);
    EXPECT_EQ(menu_keys(), (List{u"Delete", u"Send", u"Cancel"}));
    choose_in_menu(u"Delete");
    EXPECT_EQ(form->templates(), (List{u"Yes", u"No"}));
    EXPECT_EQ(form->user_count(), 0u);
    EXPECT_EQ(stored(), u"<absent>");
}

TEST_F(FormTemplatesTest, AnAddedTemplateComesFirstAndIsStored) {
    add(u"On my way");
    EXPECT_EQ(form->templates(), (List{u"On my way", u"Call me", u"Yes", u"No"}));
    EXPECT_EQ(form->user_count(), 2u);
    EXPECT_EQ(form->list()->count(), 4);
    EXPECT_TRUE(form->edit()->text().empty());
    EXPECT_EQ(stored(), u"On my way/Call me");

    // An empty field adds nothing.
    add(u"");
    EXPECT_EQ(form->user_count(), 2u);
}

TEST_F(FormTemplatesTest, ATemplateWithASlashIsRefusedAndKeptForEditing) {
    stack.push(*form, false, false);
    add(u"either/or");
    EXPECT_EQ(form->templates(), (List{u"Call me", u"Yes", u"No"}));
    EXPECT_EQ(stored(), u"Call me");
    EXPECT_EQ(form->edit()->text(), u"either/or");
    // The notice says why.
    EXPECT_EQ(form->menu()->caption_text(), properties.translate(FormTemplates::kRefusedKey));
    EXPECT_EQ(menu_keys(), List{u"Cancel"});
}

TEST_F(FormTemplatesTest, SendLeadsToTheContactsWithTheTemplateHandedOver) {
    stack.push(*form, false, false);
    form->row_tapped(*form->list(), 2);
    choose_in_menu(u"Send");
    EXPECT_EQ(model->handover_text(), u"No");
    EXPECT_EQ(forms.contacts_modes, std::vector<int32_t>{0});
    EXPECT_FALSE(stack.contains(*form));
    EXPECT_FALSE(stack.contains(*form->menu()));
    EXPECT_EQ(forms.handovers_taken, 0);
}

TEST_F(FormTemplatesTest, InsertModePutsTheChosenTemplateIntoTheChat) {
    form->set_insert_mode(true);
    stack.push(*form, false, false);
    form->row_tapped(*form->list(), 0);
    EXPECT_EQ(model->handover_text(), u"Call me");
    EXPECT_EQ(forms.handovers_taken, 1);
    EXPECT_EQ(form->menu(), nullptr);
    EXPECT_FALSE(stack.contains(*form));
}

}  // namespace
