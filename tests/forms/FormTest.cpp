// Forms binding to the skin: missing nodes and children, optional children,
// rebuilding when the skin changes; the dialog base and the preview form.
#include <gtest/gtest.h>

#include "forms/Form.h"
#include "forms/FormDialog.h"
#include "forms/FormPreview.h"
#include "forms/FormTestSupport.h"
#include "skin/NodeNotFound.h"
#include "skin/NodeNotFoundInSkin.h"
#include "skin/elements/TextElement.h"
#include "support/LogCapture.h"

namespace {

// The dialog's "btnOk" lies at (2, 2) and "btnCancel" at (20, 2), 10 x 6 each.
const char kSkin[] = R"({"named": {
    "main": {"strings": {"id": "formMain"}, "children": [
        {"strings": {"type": "button", "id": "btnOk"}},
        {"strings": {"type": "button", "id": "btnCancel"}},
        {"strings": {"type": "text", "id": "title"}}]},
    "dialog": {"strings": {"id": "dlg"}, "children": [
        {"strings": {"type": "button", "id": "btnOk", "anchor_x": "MIN_SIDE", "anchor_y": "MIN_SIDE"},
         "points": {"border_min": [2, 2], "design_size": [10, 6]}},
        {"strings": {"type": "button", "id": "btnCancel", "anchor_x": "MIN_SIDE", "anchor_y": "MIN_SIDE", "bind_key": "Esc"},
         "points": {"border_min": [20, 2], "design_size": [10, 6]}},
        {"strings": {"type": "text", "id": "caption"}}]},
    "bare": {"strings": {"id": "bare"}}}})";

// The main form after a change of skin: no cancel button, a new child.
const char kChangedSkin[] = R"({"named": {
    "main": {"strings": {"id": "formMain"}, "children": [
        {"strings": {"type": "button", "id": "btnOk"}},
        {"strings": {"type": "node", "id": "extra"}}]}}})";

// Binds like a real form: one required button, one optional, a text, and
// whatever the test asks for.
class BoundForm : public Form, public ButtonListener {
public:
    BoundForm(Properties& properties, std::u16string node, std::u16string required = u"btnOk")
        : Form(properties), node_(std::move(node)), required_(std::move(required)) {
        BoundForm::load();
    }
    void clicked(ButtonElement&, const Click&) override {}
    void state_changed(ButtonElement&, const StateChange&) override {}
    void dragged(ButtonElement&, Drag&) override {}

    ButtonElement* ok = nullptr;
    ButtonElement* cancel = nullptr;
    TextElement* title = nullptr;
    Element* extra = nullptr;
    int loads = 0;

protected:
    void load() override {
        ++loads;
        bind_or_throw(node_);
        bind_required_button(ok, required_, *this);
        bind_button(cancel, u"btnCancel", *this);
        bind_child(title, u"title");
        extra = find_child(u"extra");
    }

private:
    std::u16string node_;
    std::u16string required_;
};

class FormBinding : public FormFixture {
protected:
    void SetUp() override { load_skin(kSkin); }
};

TEST_F(FormBinding, MissingNodesAndRequiredChildrenAreReportedWithTheirNames) {
    try {
        BoundForm form(properties, u"absent");
        ADD_FAILURE() << "bound to a node the skin lacks";
    } catch (const NodeNotFoundInSkin& e) {
        EXPECT_EQ(e.node_name, u"absent");
    }
    try {
        BoundForm form(properties, u"main", u"btnSend");
        ADD_FAILURE() << "bound without a required button";
    } catch (const NodeNotFound& e) {
        EXPECT_EQ(e.in_id, u"formMain");
        EXPECT_EQ(e.wanted_id, u"btnSend");
    }
    // An element of another kind is not the button asked for.
    try {
        BoundForm form(properties, u"main", u"title");
        ADD_FAILURE() << "took a text for a button";
    } catch (const NodeNotFound& e) {
        EXPECT_EQ(e.wanted_id, u"title");
    }

    BoundForm form(properties, u"main");
    ASSERT_NE(form.ok, nullptr);
    EXPECT_EQ(form.ok->listener(), &form);
    EXPECT_EQ(form.cancel->listener(), &form);
    ASSERT_NE(form.title, nullptr);
    EXPECT_EQ(form.extra, nullptr);
}

TEST_F(FormBinding, AChangedSkinRebuildsTheFormAndEmptiesTheSlotsOfChildrenItLacks) {
    BoundForm form(properties, u"main");
    const ButtonElement* old_ok = form.ok;
    load_skin(kChangedSkin, "changed.skin");
    properties.send_reload_skin();
    EXPECT_EQ(form.loads, 2);
    ASSERT_NE(form.ok, nullptr);
    EXPECT_NE(form.ok, old_ok);
    EXPECT_EQ(form.ok->listener(), &form);
    EXPECT_EQ(form.cancel, nullptr);
    EXPECT_NE(form.extra, nullptr);
    EXPECT_EQ(form.find_element(u"btnCancel"), nullptr);
}

class Closings : public DialogListener {
public:
    void dialog_closed(FormDialog& dialog, ButtonElement& button) override {
        closed.push_back(button.id());
        on_stack_when_told = FormStack::instance()->contains(dialog);
    }
    std::vector<std::u16string> closed;
    bool on_stack_when_told = true;
};

void tap(FormStack& stack, int32_t x, int32_t y) {
    stack.pointer_button({x, y, 0, 0, true, false});
    stack.pointer_button({x, y, 0, 0, false, false});
}

TEST_F(FormBinding, ADialogButtonTakesTheDialogOffTheStackBeforeTellingTheListener) {
    TestHost host;
    FormStack stack(host);
    TestForm below(properties, u"bare");
    Closings closings;
    FormDialog dialog(properties, closings, u"dialog");
    ASSERT_NE(dialog.ok_button(), nullptr);
    ASSERT_NE(dialog.caption(), nullptr);
    EXPECT_EQ(dialog.text(), nullptr);

    stack.push(below, false, false);
    stack.push(dialog, true, true);
    tap(stack, 25, 5);
    EXPECT_EQ(closings.closed, (std::vector<std::u16string>{u"btnCancel"}));
    EXPECT_FALSE(closings.on_stack_when_told);
    EXPECT_EQ(stack.top(), &below);

    stack.push(dialog, true, true);
    tap(stack, 5, 5);
    EXPECT_EQ(closings.closed.back(), u"btnOk");
    EXPECT_EQ(stack.count(), 1u);

    // A key presses the button bound to it, on any form: a keys-only
    // handset closes the dialog with Esc; an unbound key is not handled.
    stack.push(dialog, true, true);
    EXPECT_FALSE(stack.key({KeyCode::Enter, true, true}));
    EXPECT_TRUE(stack.key({KeyCode::Esc, true, true}));
    EXPECT_TRUE(stack.key({KeyCode::Esc, false, true}));
    EXPECT_EQ(closings.closed.back(), u"btnCancel");
    EXPECT_EQ(stack.top(), &below);

    // All its children are optional.
    FormDialog bare(properties, closings, u"bare");
    EXPECT_EQ(bare.ok_button(), nullptr);
}

TEST_F(FormBinding, ThePreviewShowsAnyNodeAndLogsItsButtonPresses) {
    TestHost host;
    FormStack stack(host);
    FormPreview preview(properties, u"dialog");
    stack.push(preview, false, false);
    LogCapture capture;
    tap(stack, 25, 5);
    EXPECT_TRUE(capture.has("FormPreview button btnCancel\n"));
}

}  // namespace
