// The native edit box on its own: the text it keeps, its caret and selection
// under keys and the stylus, the clipboard, wrapping and scrolling, the input
// method's composition, and text nobody should have to type.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "draw/RenderSurface.h"
#include "draw/TestFonts.h"
#include "widgets/edit/EditBox.h"
#include "widgets/edit/EditClipboard.h"

namespace {

class FakeClipboard : public EditClipboard {
public:
    std::u16string text() override { return content; }
    void set_text(std::u16string_view text) override { content = text; }
    std::u16string content;
};

class EditBoxTest : public ::testing::Test {
protected:
    EditBox& make(EditBox::Lines lines, Rect rect = {10, 20, 130, 44}) {
        box_ = std::make_unique<EditBox>(lines, clipboard_, [this] { ++changes_; });
        box_->set_style(dejavu(9), {0, 0, 0, 255}, {255, 255, 255, 255});
        box_->set_rect(rect);
        return *box_;
    }
    bool press(KeyCode code) {
        bool taken = box_->key({code, true, true});
        box_->key({code, false, true});
        return taken;
    }
    void hold(KeyCode code, bool down) { box_->key({code, down, true}); }
    // Presses code with Ctrl held.
    void ctrl(KeyCode code) {
        hold(KeyCode::Ctrl, true);
        press(code);
        hold(KeyCode::Ctrl, false);
    }
    // The box drawn alone on a grey surface.
    std::vector<uint16_t> drawn() {
        RenderSurface surface;
        surface.recreate({160, 200});
        surface.fill({0, 0}, {160, 200}, Color{128, 128, 128, 255});
        box_->draw(surface);
        std::vector<uint16_t> pixels;
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 160; ++x) pixels.push_back(surface.buffer()->pixel(x, y));
        return pixels;
    }
    static bool inside(Rect inner, Rect outer) {
        return inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top &&
               inner.bottom <= outer.bottom;
    }

    FakeClipboard clipboard_;
    std::unique_ptr<EditBox> box_;
    int changes_ = 0;
};

TEST_F(EditBoxTest, LineFeedsAreKeptAndCarriageReturnsNever) {
    EditBox& multi = make(EditBox::Lines::Multi);
    multi.set_text(u"one\r\ntwo\n");
    EXPECT_EQ(multi.text(), u"one\ntwo\n");
    EXPECT_EQ(changes_, 0) << "the program's own text is no change";
    multi.type(u"a\r\nb\rc\n");
    EXPECT_EQ(multi.text(), u"one\ntwo\na\nb\nc\n");
    press(KeyCode::Enter);
    EXPECT_EQ(multi.text().back(), u'\n');
    EXPECT_EQ(changes_, 2);

    // One line takes breaks as spaces and leaves Enter to the form.
    EditBox& single = make(EditBox::Lines::Single);
    single.type(u"a\r\nb");
    EXPECT_EQ(single.text(), u"a b");
    EXPECT_FALSE(press(KeyCode::Enter));
    EXPECT_EQ(single.text(), u"a b");
}

TEST_F(EditBoxTest, KeysMoveTheCaretAndShiftSelects) {
    EditBox& box = make(EditBox::Lines::Single);
    box.set_text(u"ab😀c");
    EXPECT_EQ(box.buffer().caret(), 5u);
    press(KeyCode::Left);
    press(KeyCode::Left);
    EXPECT_EQ(box.buffer().caret(), 2u) << "a surrogate pair is one step";
    hold(KeyCode::Shift, true);
    press(KeyCode::Left);
    press(KeyCode::End);
    hold(KeyCode::Shift, false);
    EXPECT_EQ(box.buffer().selected_text(), u"😀c") << "the selection grows from its anchor";
    press(KeyCode::Left);
    EXPECT_EQ(box.buffer().caret(), 2u) << "Left first drops the selection at its start";
    EXPECT_TRUE(box.buffer().selection().empty());

    press(KeyCode::Left);
    press(KeyCode::Del);
    press(KeyCode::Del);
    EXPECT_EQ(box.text(), u"ac");
    press(KeyCode::Home);
    EXPECT_FALSE(press(KeyCode::Backspace)) << "nothing to erase: the back key is the form's";
    EXPECT_FALSE(press(KeyCode::SoftLeft));
    EXPECT_FALSE(press(KeyCode::Up)) << "one line has no line above";
    EXPECT_TRUE(press(KeyCode::A)) << "its character comes as text";
    EXPECT_EQ(changes_, 2);

    EditBox& multi = make(EditBox::Lines::Multi);
    multi.set_text(u"first\nsecond\nthird");
    press(KeyCode::Up);
    press(KeyCode::Up);
    press(KeyCode::Home);
    EXPECT_EQ(multi.buffer().caret(), 0u);
    press(KeyCode::Down);
    press(KeyCode::End);
    EXPECT_EQ(multi.buffer().caret(), 12u);
}

TEST_F(EditBoxTest, TheStylusPlacesTheCaretAndDragsASelection) {
    EditBox& box = make(EditBox::Lines::Multi, {0, 0, 150, 100});
    box.set_text(u"hello world\nsecond line");
    Rect second = box.caret_rect();
    box.pointer_down({1, 2}, false);
    EXPECT_EQ(box.buffer().caret(), 0u);
    box.pointer_down({1, second.top + 2}, false);
    box.pointer_move({149, second.top + 2});
    EXPECT_EQ(box.buffer().selected_text(), u"second line");
    box.pointer_move({1, 2});
    EXPECT_EQ(box.buffer().selected_text(), u"hello world\n") << "a drag back selects upwards";
    box.pointer_down({149, 2}, false);
    EXPECT_EQ(box.buffer().caret(), 11u) << "past the end of a line: its end";
    box.pointer_down({1, 99}, false);
    EXPECT_EQ(box.buffer().caret(), 12u) << "below the last line: the last line";
    EXPECT_EQ(changes_, 0);
}

TEST_F(EditBoxTest, TheClipboardCarriesTheSelection) {
    EditBox& box = make(EditBox::Lines::Single);
    box.set_text(u"Привет");
    ctrl(KeyCode::A);
    ctrl(KeyCode::C);
    EXPECT_EQ(clipboard_.content, u"Привет");
    press(KeyCode::End);
    ctrl(KeyCode::V);
    EXPECT_EQ(box.text(), u"ПриветПривет");
    ctrl(KeyCode::A);
    ctrl(KeyCode::X);
    EXPECT_EQ(box.text(), u"");
    EXPECT_EQ(clipboard_.content, u"ПриветПривет");

    // Pasted text is cleaned as typed text is.
    clipboard_.content = u"a\tb\x1b\r\nc";
    hold(KeyCode::Shift, true);
    press(KeyCode::Insert);
    hold(KeyCode::Shift, false);
    EXPECT_EQ(box.text(), u"a b c");
    EXPECT_EQ(changes_, 3);
}

TEST_F(EditBoxTest, WrappingAndScrollingKeepTheCaretInSight) {
    EditBox& multi = make(EditBox::Lines::Multi, {10, 20, 110, 60});
    std::u16string many;
    for (int i = 0; i < 30; ++i)
        many += u"word" + std::u16string(1, char16_t(u'a' + i % 26)) + u" ";
    multi.set_text(many);
    EXPECT_GT(multi.scroll().y, 0);
    EXPECT_TRUE(inside(multi.caret_rect(), multi.rect()));
    ctrl(KeyCode::A);
    press(KeyCode::Left);
    EXPECT_EQ(multi.scroll().y, 0) << "back at the start";
    EXPECT_TRUE(inside(multi.caret_rect(), multi.rect()));
    for (int i = 0; i < 40; ++i) press(KeyCode::Down);
    EXPECT_TRUE(inside(multi.caret_rect(), multi.rect()));
    EXPECT_GT(multi.scroll().y, 0);

    EditBox& single = make(EditBox::Lines::Single, {10, 20, 80, 40});
    single.type(many);
    EXPECT_GT(single.scroll().x, 0);
    EXPECT_TRUE(inside(single.caret_rect(), single.rect()));
    press(KeyCode::Home);
    EXPECT_EQ(single.scroll().x, 0);
    // Erasing everything brings the text back into view.
    press(KeyCode::End);
    ctrl(KeyCode::A);
    press(KeyCode::Del);
    EXPECT_EQ(single.scroll().x, 0);
}

TEST_F(EditBoxTest, ACompositionIsShownInPlaceUntilCommitted) {
    EditBox& box = make(EditBox::Lines::Single);
    box.set_text(u"ab");
    press(KeyCode::Left);
    std::vector<uint16_t> before = drawn();
    Rect caret = box.caret_rect();
    box.set_composition(u"ni", 2);
    EXPECT_EQ(box.text(), u"ab");
    EXPECT_EQ(changes_, 0);
    EXPECT_TRUE(box.needs_drawing());
    EXPECT_TRUE(before != drawn());
    EXPECT_GT(box.caret_rect().left, caret.left) << "the caret follows the composition's cursor";

    box.type(u"你");
    EXPECT_EQ(box.text(), u"a你b");
    EXPECT_TRUE(box.composition().empty());
    EXPECT_EQ(changes_, 1);

    // A composition the input method takes back leaves the text as it was.
    box.set_composition(u"x", 1);
    box.set_composition(u"", 0);
    EXPECT_TRUE(drawn() == drawn());
    EXPECT_EQ(box.text(), u"a你b");
    EXPECT_EQ(changes_, 1);
}

TEST_F(EditBoxTest, HostileTextNeverBreaksTheBox) {
    EditBox& box = make(EditBox::Lines::Multi);
    // Control characters go, unpaired surrogates become U+FFFD.
    box.type(std::u16string(u"a\0b\x7f\x85", 5) + u"\xD800x\xDC00" + u"😀");
    EXPECT_EQ(box.text(), u"ab\uFFFDx\uFFFD😀");
    // The program's own text is kept, unpaired halves and all, and stepping
    // over them stays in the text.
    box.set_text(u"\xDC00\xD800");
    press(KeyCode::Left);
    press(KeyCode::Left);
    press(KeyCode::Left);
    EXPECT_EQ(box.buffer().caret(), 0u);
    box.set_composition(u"\xD800", 7);
    drawn();
    box.set_composition(u"", 0);

    std::u16string huge(100000, u'ж');
    for (size_t i = 0; i < huge.size(); i += 97) huge[i] = i % 2 ? u'\n' : u' ';
    box.set_text(huge);
    drawn();
    EXPECT_TRUE(inside(box.caret_rect(), box.rect()));
    box.pointer_down({50, 30}, false);
    ctrl(KeyCode::A);
    ctrl(KeyCode::C);
    EXPECT_EQ(clipboard_.content.size(), 100000u);

    EditBox& single = make(EditBox::Lines::Single, {0, 0, 0, 0});
    single.type(huge);
    press(KeyCode::Home);
    single.pointer_down({-5, 1000}, true);
    drawn();
    EXPECT_EQ(single.text().size(), 100000u);
}

}  // namespace
