// The contacts picker over a real address book: filtering, the typed
// number, recipients, the ruler and leaving.
#include <gtest/gtest.h>

#include "forms/contacts/ContactItem.h"
#include "forms/contacts/ContactsTestSupport.h"
#include "forms/contacts/FormContacts.h"
#include "skin/NodeNotFound.h"
#include "skin/elements/TextElement.h"
#include "widgets/edit/EditElement.h"
#include "widgets/list/VListElement.h"

namespace {

// The form on a 100 x 200 client area: the list left of a 20-pixel ruler
// whose letters (10 high) sit in a table 25 below its top and 5 above its
// bottom.
const char kSkin[] = R"({"named": {
    "FormContacts": {"children": [
        {"strings": {"type": "text", "id": "title", "anchor_y": "MIN_SIDE"}, "points": {"design_size": [0, 10]}},
        {"strings": {"type": "edit", "id": "edit", "anchor_y": "MIN_SIDE"}, "points": {"design_size": [0, 10], "border_min": [0, 10]}},
        {"strings": {"type": "button", "id": "btnClose", "anchor_x": "MIN_SIDE", "anchor_y": "MIN_SIDE"}, "points": {"design_size": [10, 10]}},
        {"strings": {"type": "button", "id": "btnWrite", "anchor_x": "MAX_SIDE", "anchor_y": "MIN_SIDE"}, "points": {"design_size": [10, 10]}},
        {"strings": {"type": "button", "id": "btnAdd", "anchor_x": "MAX_SIDE", "anchor_y": "MIN_SIDE"}, "points": {"design_size": [10, 10]}},
        {"strings": {"type": "vlist", "id": "list"}, "points": {"border_min": [0, 20], "border_max": [20, 0]}},
        {"strings": {"type": "button", "id": "ruler_button", "anchor_x": "MAX_SIDE"}, "points": {"design_size": [20, 0], "border_min": [0, 20]}},
        {"strings": {"type": "vtable", "id": "ruler_table", "anchor_x": "MAX_SIDE"}, "points": {"design_size": [20, 0], "border_min": [0, 25], "border_max": [0, 5]}},
        {"strings": {"type": "node", "id": "hint"}, "children": [{"strings": {"type": "text", "id": "#text"}}]}]},
    "ContactItem": {"points": {"design_size": [0, 10]}, "colors": {"filtered_color": [255, 0, 0]}, "children": [
        {"strings": {"type": "text", "id": "title"}},
        {"strings": {"type": "text", "id": "number"}},
        {"strings": {"type": "text", "id": "type"}},
        {"strings": {"type": "node", "id": "active"}},
        {"strings": {"type": "node", "id": "checkbox"}},
        {"strings": {"type": "node", "id": "checkbox_place"}}]},
    "AlphabetRulerText": {"strings": {"type": "text"}, "points": {"design_size": [0, 10]}}}})";

class FormContactsTest : public ChatFormsFixture {
protected:
    void SetUp() override {
        card("anna.vcf", "Anna Petrova", "+7 912 345-67-89");
        card("bob.vcf", "Bob", "+1 555 0100");
        card("berta.vcf", "berta", "+49 170 1111111");
        card("plain.vcf", "+49 30 1234567", "+49 30 1234567");
        card("zoe.vcf", "Zoe", "+44 20 7946 0018");
        load_model();
        load_skin(kSkin);
        form = std::make_unique<FormContacts>(properties, forms);
    }
    void TearDown() override {
        if (form && stack.contains(*form)) stack.remove(*form, false);
    }

    // The names (numbers where there is none) of the listed entries.
    std::vector<std::u16string> listed() const {
        std::vector<std::u16string> out;
        for (size_t at : form->filtered()) {
            const PhoneEntry& e = phones()[at];
            out.push_back(e.name.empty() ? e.number : e.name);
        }
        return out;
    }
    void type(std::u16string_view text) { form->edit()->set_text(text); }
    ButtonElement& button(std::u16string_view id) {
        return *dynamic_cast<ButtonElement*>(form->find_element(id));
    }
    void click(std::u16string_view id) { form->clicked(button(id), {}); }
    std::unique_ptr<Element> row(int index) { return form->create_row(*form->list(), index); }
    static TextElement& text(Element& row, std::u16string_view id) {
        return *dynamic_cast<TextElement*>(row.find_element(id));
    }
    static bool shown(Element& row, std::u16string_view id) {
        return row.find_element(id)->visible();
    }
    int first_row_shown() {
        frame();
        return form->list()->window_size() > 0 ? form->list()->window_index(0) : -1;
    }

    std::unique_ptr<FormContacts> form;
};

TEST_F(FormContactsTest, ATypedNumberShowsTheActionButtonAndLettersFilterNamesInAnyCase) {
    EXPECT_EQ(listed(), (std::vector<std::u16string>{u"+49 30 1234567", u"Anna Petrova", u"Bob",
                                                     u"Zoe", u"berta"}));
    EXPECT_EQ(form->title()->text(), u"Recipient");
    type(u"+49 1");
    EXPECT_TRUE(button(u"btnWrite").visible());
    EXPECT_FALSE(button(u"btnAdd").visible());
    EXPECT_EQ(listed(), std::vector<std::u16string>{u"berta"});

    type(u"BER");
    EXPECT_FALSE(button(u"btnWrite").visible());
    EXPECT_EQ(listed(), std::vector<std::u16string>{u"berta"});
    type(u"pEtRo");
    EXPECT_EQ(listed(), std::vector<std::u16string>{u"Anna Petrova"});
    // The match is drawn in the filtered colour, where it lies in the name.
    const TextElement::Highlight mark = text(*row(0), u"title").highlight();
    EXPECT_EQ(mark.start, 5u);
    EXPECT_EQ(mark.length, 5u);
    EXPECT_EQ(mark.color, (Color{255, 0, 0, 255}));

    type(u"");
    EXPECT_EQ(form->filtered().size(), phones().size());
    EXPECT_EQ(text(*row(1), u"title").highlight().length, 0u);
}

TEST_F(FormContactsTest, AnEntryShowsItsNumberOnceWhenTheNameIsTheNumber) {
    std::unique_ptr<Element> plain = row(0);
    EXPECT_EQ(text(*plain, u"title").text(), u"+49 30 1234567");
    EXPECT_FALSE(shown(*plain, u"number"));
    EXPECT_EQ(text(*plain, u"type").text(), u"m");

    std::unique_ptr<Element> anna = row(1);
    EXPECT_EQ(text(*anna, u"title").text(), u"Anna Petrova");
    EXPECT_TRUE(shown(*anna, u"number"));
    EXPECT_EQ(text(*anna, u"number").text(), u"+7 912 345-67-89");
    // Write mode has no boxes.
    EXPECT_FALSE(shown(*anna, u"checkbox_place"));
    EXPECT_FALSE(shown(*anna, u"checkbox"));
}

TEST_F(FormContactsTest, WriteModeHandsTheChosenContactOverAndLeaves) {
    stack.push(*form, false, false);
    form->row_tapped(*form->list(), 1);
    ASSERT_EQ(forms.chosen.size(), 1u);
    EXPECT_EQ(forms.chosen[0].name, u"Anna Petrova");
    EXPECT_EQ(forms.chosen[0].number, u"+7 912 345-67-89");
    EXPECT_FALSE(stack.contains(*form));

    // A typed text without digits is no number: nothing happens.
    stack.push(*form, false, false);
    type(u"nobody");
    click(u"btnWrite");
    EXPECT_EQ(forms.chosen.size(), 1u);
    EXPECT_TRUE(stack.contains(*form));
    type(u"+49 89 5550123");
    click(u"btnWrite");
    ASSERT_EQ(forms.chosen.size(), 2u);
    EXPECT_EQ(forms.chosen[1].number, u"+49 89 5550123");
    EXPECT_EQ(forms.chosen[1].contact_id, -1);
}

TEST_F(FormContactsTest, RecipientsModeTicksEntriesAndSortsThemFirst) {
    // The chat with Bob is open.
    const std::u16string bob_key = phones()[2].key;
    model->select_chat(bob_key);
    type(u"zo");
    form->set_mode(FormContacts::kRecipients);
    EXPECT_TRUE(form->edit()->text().empty());
    EXPECT_FALSE(button(u"btnAdd").visible());
    EXPECT_EQ(form->title()->text(), u"Recipients");

    type(u"zo");
    EXPECT_FALSE(button(u"btnAdd").visible());
    form->row_tapped(*form->list(), 0);
    EXPECT_TRUE(form->edit()->text().empty());
    EXPECT_EQ(listed(), (std::vector<std::u16string>{u"Bob", u"Zoe", u"+49 30 1234567",
                                                     u"Anna Petrova", u"berta"}));
    std::unique_ptr<Element> bob = row(0), zoe = row(1), plain = row(2);
    EXPECT_TRUE(shown(*bob, u"active"));
    EXPECT_FALSE(shown(*bob, u"checkbox"));
    EXPECT_FALSE(shown(*zoe, u"active"));
    EXPECT_TRUE(shown(*zoe, u"checkbox"));
    EXPECT_FALSE(shown(*plain, u"checkbox"));
    EXPECT_TRUE(shown(*plain, u"checkbox_place"));

    // A number typed by hand is ticked as well: it joins the list.
    type(u"+49 89 5550123");
    EXPECT_TRUE(button(u"btnAdd").visible());
    EXPECT_FALSE(button(u"btnWrite").visible());
    click(u"btnAdd");
    EXPECT_EQ(listed()[0], u"+49 89 5550123");
    EXPECT_TRUE(phones()[0].selected);
    EXPECT_TRUE(forms.chosen.empty());
}

TEST_F(FormContactsTest, HoldingTheRulerShowsTheLetterAndScrollsToItsFirstEntry) {
    stack.push(*form, false, false);
    frame();
    // "+", "A", "B" (Bob and berta), "Z": four letters in a table 170 high
    // from y = 25.
    EXPECT_EQ(form->ruler().letters(), (std::vector<std::u16string>{u"+", u"A", u"B", u"Z"}));
    EXPECT_EQ(form->ruler().shown_count(), 4u);
    EXPECT_FALSE(form->hint()->visible());

    stack.pointer_button({90, 115, 0, 0, true, false});
    EXPECT_TRUE(form->hint()->visible());
    EXPECT_EQ(dynamic_cast<TextElement*>(form->hint()->find_element(u"#text"))->text(), u"B");
    EXPECT_EQ(first_row_shown(), 2);
    stack.pointer_move({90, 190, 0, 0, true, false});
    EXPECT_EQ(first_row_shown(), 3);
    stack.pointer_button({90, 190, 0, 0, false, false});
    EXPECT_FALSE(form->hint()->visible());

    // A letter no entry starts with shows but leaves the list where it is.
    form->ruler_letter(0, u"Q", true, false);
    EXPECT_TRUE(form->hint()->visible());
    EXPECT_EQ(first_row_shown(), 3);
}

TEST_F(FormContactsTest, ClosingDropsTheHandedOverTextAndRefreshesTheChatOfRecipients) {
    model->set_handover_text(u"forwarded text");
    form->set_mode(FormContacts::kRecipients);
    stack.push(*form, false, false);
    click(u"btnClose");
    EXPECT_TRUE(model->handover_text().empty());
    EXPECT_EQ(forms.refreshes, 1);
    EXPECT_FALSE(stack.contains(*form));

    model->set_handover_text(u"forwarded text");
    form->set_mode(FormContacts::kWrite);
    stack.push(*form, false, false);
    click(u"btnClose");
    EXPECT_TRUE(model->handover_text().empty());
    EXPECT_EQ(forms.refreshes, 1);
}

TEST_F(FormContactsTest, ASkinWithoutAPartOfTheRowOrTheRulerIsRefused) {
    form.reset();
    auto without = [](const std::string& id) {
        std::string skin = kSkin;
        const std::string wanted = "\"" + id + "\"";
        return skin.replace(skin.find(wanted), wanted.size(), "\"other\"");
    };
    load_skin(without("checkbox_place"), "u.skin");
    try {
        FormContacts broken(properties, forms);
        FAIL() << "a row without checkbox_place was taken";
    } catch (const NodeNotFound& e) {
        EXPECT_EQ(e.wanted_id, u"checkbox_place");
    }
    load_skin(without("ruler_table"), "v.skin");
    EXPECT_THROW(FormContacts(properties, forms), NodeNotFound);
}

}  // namespace

namespace {

TEST(ContactFilter, FindsInAnyCaseAtTheTextsOwnPositions) {
    EXPECT_EQ(ContactFilter(u"äSE").find(u"Käse"), 1u);
    // A sharp s has a longer capital; the match still lies where the text has it.
    EXPECT_EQ(ContactFilter(u"ße").find(u"Großeltern Straße"), 3u);
    EXPECT_EQ(ContactFilter(u"STRA").find(u"Großeltern Straße"), 11u);
    EXPECT_EQ(ContactFilter(u"x").find(u""), ContactFilter::npos);
    EXPECT_TRUE(ContactFilter::typed_number(u"+49 170-1"));
    EXPECT_FALSE(ContactFilter::typed_number(u""));
    EXPECT_FALSE(ContactFilter::typed_number(u"+49 (170)"));
    EXPECT_EQ(ContactFilter::letter_of({u"émile", u"1"}), u"É");
    EXPECT_EQ(ContactFilter::letter_of({u"", u"+1"}), u"+");
}

}  // namespace
