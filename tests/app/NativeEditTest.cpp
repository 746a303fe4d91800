// The native edit inside the application, on the headless window: binding an
// edit element puts the picture through the window's painting and back, the
// input panel preference outlives the binding, and keys, text, compositions
// and presses reach the box before the forms.
#include <gtest/gtest.h>

#include <memory>

#include "app/Application.h"
#include "app/NativeEdit.h"
#include "display/HeadlessWindow.h"
#include "forms/FormPreview.h"
#include "platform/Registry.h"
#include "platform/Utf16.h"
#include "skin/Properties.h"
#include "support/TestDevice.h"
#include "widgets/edit/EditElement.h"

namespace {

class NativeEditTest : public ::testing::Test {
protected:
    NativeEditTest() {
        setenv("FONTCONFIG_FILE", QUILLMO_TEST_FONTS_CONF, 1);
        setenv("QUILLMO_VIDEO", "headless", 1);
        start();
    }
    ~NativeEditTest() override { stop(); }

    void start() {
        ScreenInfo screen;
        screen.width = 240;
        screen.height = 320;
        app_ = std::make_unique<Application>(u"QuillmoTest", screen, nullptr);
        app_->set_direct_mode(app_->read_screen_info().orientation);
        EXPECT_TRUE(
            properties_.load_skin(utf16::from_utf8(QUILLMO_TEST_SKIN), app_->read_screen_info()));
        form_ = std::make_unique<FormPreview>(properties_, u"test_edit");
        app_->form_stack().push(*form_, false, false);
        app_->pump();
        memo_ = dynamic_cast<EditElement*>(form_->find_element(u"memo"));
        line_ = dynamic_cast<EditElement*>(form_->find_element(u"line"));
        ASSERT_TRUE(memo_ && line_);
    }
    void stop() {
        app_->form_stack().remove(*form_, false);
        form_.reset();
        app_.reset();
    }
    HeadlessWindow& window() { return static_cast<HeadlessWindow&>(app_->game().window()); }
    void deliver(WindowEvent event) {
        window().inject(std::move(event));
        app_->pump();
    }
    void key(int32_t virtual_key, bool down = true) {
        WindowEvent event;
        event.kind = down ? WindowEvent::Kind::KeyDown : WindowEvent::Kind::KeyUp;
        event.virtual_key = virtual_key;
        deliver(event);
        if (down) key(virtual_key, false);
    }
    void text(WindowEvent::Kind kind, std::u16string typed, int32_t cursor = 0) {
        WindowEvent event;
        event.kind = kind;
        event.text = std::move(typed);
        event.cursor = cursor;
        deliver(event);
    }
    void tap(Point at) {
        WindowEvent event;
        event.kind = WindowEvent::Kind::ButtonDown;
        event.x = at.x;
        event.y = at.y;
        deliver(event);
        event.kind = WindowEvent::Kind::ButtonUp;
        deliver(event);
    }
    static Point middle(const Element& element) {
        Rect r = element.rect();
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }

    TestDevice device_;
    std::unique_ptr<Application> app_;
    Properties properties_;
    std::unique_ptr<FormPreview> form_;
    EditElement* memo_ = nullptr;
    EditElement* line_ = nullptr;
};

TEST_F(NativeEditTest, BindingPaintsThroughTheWindowUntilTheEditLetsGo) {
    GameBase& game = app_->game();
    ASSERT_TRUE(game.has_display());
    EXPECT_FALSE(game.gdi_timer_running());
    tap(middle(*memo_));
    EXPECT_EQ(game.bound_edit(), memo_);
    EXPECT_FALSE(game.has_display()) << "the display closes";
    EXPECT_TRUE(game.gdi_timer_running()) << "the window paints at the 40 ms pace";
    EXPECT_TRUE(game.window_painting());
    // The box is on the window's picture, over the element.
    const PixelBuffer* frame = game.last_frame();
    ASSERT_NE(frame, nullptr);
    Rect r = memo_->rect();
    EXPECT_EQ(frame->pixel(r.right - 2, r.bottom - 2), (Color{255, 255, 255, 255}.to_565()));

    // Another edit takes the box over without a new display in between.
    tap(middle(*line_));
    EXPECT_EQ(game.bound_edit(), line_);
    EXPECT_FALSE(game.has_display());

    line_->set_visible(false);
    EXPECT_EQ(game.bound_edit(), nullptr);
    EXPECT_TRUE(game.has_display()) << "the display opens again";
    EXPECT_FALSE(game.gdi_timer_running());
    EXPECT_FALSE(window().text_input()) << "no keyboard stays up";

    // In GDI mode the display stays closed when the edit lets go.
    app_->set_gdi_mode(false);
    memo_->focus();
    memo_->set_visible(false);
    EXPECT_FALSE(game.has_display());
    EXPECT_TRUE(game.gdi_timer_running());
}

TEST_F(NativeEditTest, ThePanelPreferenceOutlivesTheBinding) {
    uint32_t stored = 7;
    memo_->focus();
    EXPECT_FALSE(window().text_input()) << "no preference yet: the panel waits for a tap";
    tap(middle(*memo_));
    EXPECT_TRUE(window().text_input());
    memo_->set_visible(false);
    ASSERT_TRUE(registry::read_number(NativeEdit::kPreferenceKey, u"SIPPreference", stored));
    EXPECT_EQ(stored, 1u);

    // A later start raises the panel with the focus alone.
    stop();
    start();
    line_->focus();
    EXPECT_TRUE(window().text_input());
    window().put_input_panel_away();
    line_->set_visible(false);
    ASSERT_TRUE(registry::read_number(NativeEdit::kPreferenceKey, u"SIPPreference", stored));
    EXPECT_EQ(stored, 0u);
    memo_->focus();
    EXPECT_FALSE(window().text_input());
}

TEST_F(NativeEditTest, KeysTextAndCompositionsGoToTheBoundEditFirst) {
    tap(middle(*line_));
    line_->set_text(u"");
    text(WindowEvent::Kind::Char, u"Жук");
    text(WindowEvent::Kind::Composition, u"ni", 2);
    EXPECT_EQ(line_->text(), u"Жук") << "a composition is no text yet";
    text(WindowEvent::Kind::Char, u"你");
    key(37);  // Left
    key(8);   // Backspace
    EXPECT_EQ(line_->text(), u"Жу你");
    WindowEvent shift;
    shift.kind = WindowEvent::Kind::KeyDown;
    shift.virtual_key = 16;
    deliver(shift);
    key(36);  // Home
    shift.kind = WindowEvent::Kind::KeyUp;
    deliver(shift);
    ASSERT_NE(app_->game().native_edit().box(), nullptr);
    EXPECT_EQ(app_->game().native_edit().box()->buffer().selected_text(), u"Жу");

    // A press on the box moves the caret and never reaches the forms.
    Rect r = line_->rect();
    tap({r.right - 2, (r.top + r.bottom) / 2});
    EXPECT_EQ(app_->game().native_edit().box()->buffer().caret(), 3u);
    EXPECT_EQ(app_->game().bound_edit(), line_);

    // The program's text with a line break reaches the multi-line box whole.
    memo_->focus();
    memo_->set_text(u"a\r\nb");
    EXPECT_EQ(app_->game().native_edit().box()->text(), u"a\nb");
    key(13);  // Enter
    EXPECT_EQ(memo_->text(), u"a\nb\n");
}

}  // namespace
