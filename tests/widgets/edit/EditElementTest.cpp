// The "edit" and "label_edit" elements as a form meets them: the text they
// keep, when they bind the native edit and let it go, and the hint and clear
// button of a label_edit.
#include <gtest/gtest.h>

#include <vector>

#include "input/ScreenInfo.h"
#include "platform/Utf16.h"
#include "skin/NodeNotFound.h"
#include "skin/Properties.h"
#include "skin/elements/ButtonElement.h"
#include "skin/elements/ElementKinds.h"
#include "widgets/WidgetKinds.h"
#include "widgets/edit/EditElement.h"
#include "widgets/edit/EditListener.h"
#include "widgets/edit/LabelEditElement.h"
#include "widgets/edit/NativeEditHost.h"

namespace {

// Records the bindings as the application would make them.
class RecordingHost : public NativeEditHost {
public:
    void bind_native_edit(EditElement* element, bool create) override {
        calls.push_back({element, create});
        bound = element;
    }
    EditElement* bound_edit() const override { return bound; }

    struct Call {
        EditElement* element;
        bool create;
    };
    std::vector<Call> calls;
    EditElement* bound = nullptr;
};

class RecordingListener : public EditListener {
public:
    void text_changed(EditElement& element) override { texts.push_back(element.text()); }
    std::vector<std::u16string> texts;
};

class EditElementTest : public ::testing::Test {
protected:
    EditElementTest() {
        NativeEditHost::set_current(&host_);
        EXPECT_TRUE(properties_.load_skin(utf16::from_utf8(QUILLMO_TEST_SKIN),
                                          {.width = 240, .height = 320}));
        root_ = std::make_unique<Element>();
        EXPECT_TRUE(root_->load_from_skin(properties_, u"test_edit"));
        root_->set_x_extent(0, 240);
        root_->set_y_extent(0, 320);
        memo_ = dynamic_cast<EditElement*>(root_->find_element(u"memo"));
        filter_ = dynamic_cast<LabelEditElement*>(root_->find_element(u"filter"));
    }
    ~EditElementTest() override {
        root_.reset();
        NativeEditHost::set_current(nullptr);
    }

    ElementKinds kinds_;
    WidgetKinds widget_kinds_;
    RecordingHost host_;
    Properties properties_;
    std::unique_ptr<Element> root_;
    EditElement* memo_ = nullptr;
    LabelEditElement* filter_ = nullptr;
};

TEST_F(EditElementTest, TheTextChangesOnlyWhenItDiffersAndNeverHoldsCarriageReturns) {
    ASSERT_NE(memo_, nullptr);
    EXPECT_EQ(memo_->text(), u"Dear Anna,\nsee you at noon.");
    EXPECT_TRUE(memo_->multi_line());
    EXPECT_EQ(memo_->background_color(), (Color{255, 255, 255, 255}));
    RecordingListener listener;
    memo_->set_listener(&listener);
    memo_->set_text(u"one\r\ntwo");
    memo_->set_text(u"one\ntwo");  // the box's echo of the same text
    memo_->set_text(u"one\ntwo\r");
    ASSERT_EQ(listener.texts.size(), 1u);
    EXPECT_EQ(listener.texts[0], u"one\ntwo");
    EXPECT_TRUE(host_.calls.empty()) << "an unbound element leaves the box alone";
}

TEST_F(EditElementTest, FocusBindsAndHidingOrDestroyingLetsGo) {
    ASSERT_NE(memo_, nullptr);
    EXPECT_TRUE(root_->pointer_button({20, 20, 0, 0, true, false}));
    ASSERT_EQ(host_.calls.size(), 1u);
    EXPECT_EQ(host_.calls[0].element, memo_);
    EXPECT_TRUE(host_.calls[0].create);
    memo_->focus();
    EXPECT_EQ(host_.calls.size(), 1u) << "the bound one is not bound again";

    // While bound, a new text and a new rectangle are brought to the box.
    memo_->set_text(u"changed");
    memo_->set_x_extent(4, 200);
    ASSERT_GE(host_.calls.size(), 3u);
    EXPECT_EQ(host_.calls.back().element, memo_);
    EXPECT_FALSE(host_.calls.back().create);

    root_->set_visible(false);
    EXPECT_EQ(host_.bound, nullptr);
    root_->set_visible(true);

    auto* line = dynamic_cast<EditElement*>(root_->find_element(u"line"));
    ASSERT_NE(line, nullptr);
    line->focus();
    EXPECT_EQ(host_.bound, line);
    root_.reset();
    EXPECT_EQ(host_.bound, nullptr) << "a destroyed element is never left bound";
}

TEST_F(EditElementTest, ALabelEditShowsItsHintWhileEmptyAndItsClearButtonOtherwise) {
    ASSERT_NE(filter_, nullptr);
    EditElement& edit = *filter_->edit();
    ASSERT_NE(filter_->clear_button(), nullptr);
    EXPECT_EQ(filter_->hint()->text(), u"Search chats");
    EXPECT_TRUE(filter_->hint()->visible());
    EXPECT_FALSE(filter_->clear_button()->visible());

    RecordingListener listener;
    filter_->set_listener(&listener);
    edit.set_text(u"Ann");
    EXPECT_FALSE(filter_->hint()->visible());
    EXPECT_TRUE(filter_->clear_button()->visible());

    // A tap on the clear button empties the field.
    Rect clear = filter_->clear_button()->rect();
    root_->pointer_button({clear.left + 2, clear.top + 2, 0, 0, true, false});
    root_->pointer_button({clear.left + 2, clear.top + 2, 0, 0, false, false});
    EXPECT_EQ(edit.text(), u"");
    EXPECT_TRUE(filter_->hint()->visible());
    EXPECT_FALSE(filter_->clear_button()->visible());
    EXPECT_EQ(listener.texts, (std::vector<std::u16string>{u"Ann", u""}));
}

TEST_F(EditElementTest, ALabelEditWithoutItsPartsIsASkinError) {
    LabelEditElement broken;
    // The dialog node holds no "#edit".
    auto node = properties_.find_node(u"test_dialog");
    ASSERT_TRUE(node);
    try {
        broken.load_from_node(properties_, *node);
        FAIL() << "loaded without #edit";
    } catch (const NodeNotFound& e) {
        EXPECT_EQ(e.wanted_id, u"#edit");
    }
}

}  // namespace
