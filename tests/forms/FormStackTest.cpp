// The FormStack: overlays over a dimmed backdrop, transitions between full
// forms that turn round, removal from the middle, input routing and the
// question whether anything must be drawn.
#include <gtest/gtest.h>

#include "draw/Color.h"
#include "draw/PixelOps.h"
#include "forms/FormStack.h"
#include "forms/FormTestSupport.h"
#include "forms/FrameRateBox.h"
#include "skin/animations/VisibilityAnimation.h"
#include "support/LogCapture.h"

namespace {

// White and green full forms that slide in from the right, and an overlay
// with a red 10 x 10 box at (10, 10) and nothing else.
const char kSkin[] = R"({"named": {
    "white": {"strings": {"id": "white", "visibility_animation": "right"}, "children": [
        {"strings": {"type": "color"}, "colors": {"color": [255, 255, 255]}},
        {"strings": {"type": "node", "id": "panel"}, "children": [
            {"strings": {"type": "node", "id": "deep"}}]}]},
    "green": {"strings": {"id": "green", "visibility_animation": "right"}, "children": [
        {"strings": {"type": "color"}, "colors": {"color": [0, 255, 0]}}]},
    "box": {"strings": {"id": "box"}, "children": [
        {"strings": {"type": "color", "anchor_x": "MIN_SIDE", "anchor_y": "MIN_SIDE"},
         "points": {"border_min": [10, 10], "design_size": [10, 10]},
         "colors": {"color": [255, 0, 0]}}]}}})";

constexpr uint16_t kWhite = 0xFFFF;
constexpr uint16_t kGreen = 0x07E0;
constexpr uint16_t kRed = 0xF800;
constexpr uint16_t kBlue = 0x001F;

// The skin is loaded before the forms of the test are built.
class StackSkin : public FormFixture {
protected:
    StackSkin() { load_skin(kSkin); }
};

class FormStackTest : public StackSkin {
protected:
    // Draws frames until the stack has nothing more to draw (at most 20);
    // returns how many it took.
    int settle() {
        for (int frames = 1; frames <= 20; ++frames) {
            stack.draw(screen);
            if (!stack.needs_drawing(true)) return frames;
        }
        return -1;
    }
    // Advances until the transition has ended.
    void finish_transition() {
        for (int i = 0; i < 20 && stack.transition_running(); ++i) stack.time_step(0.1);
        ASSERT_FALSE(stack.transition_running());
    }

    TestHost host;
    FormStack stack{host};
    RenderSurface screen{Size{40, 30}};
    TestForm white{properties, u"white"};
    TestForm green{properties, u"green"};
    TestForm box{properties, u"box"};
};

TEST_F(FormStackTest, AnOverlayDimsTheFormBelowOneStepPerFrameAndItsRemovalBrightensItBack) {
    stack.push(white, false, false);
    stack.push(box, true, false);
    EXPECT_EQ(stack.focused(), &box);
    std::vector<uint16_t> corner;
    std::vector<int> levels;
    for (int frame = 0; frame < 10; ++frame) {
        stack.draw(screen);
        corner.push_back(pixel(screen, 0, 0));
        levels.push_back(stack.fade_level());
        EXPECT_EQ(pixel(screen, 15, 15), kRed);
    }
    // Undimmed first, then 1/16 darker each frame down to half: 15/16 of
    // white is 30, 60, 30 in 5-6-5, half is 15, 31, 15.
    EXPECT_EQ(corner[0], kWhite);
    EXPECT_EQ(corner[1], 0xF79E);
    EXPECT_EQ(corner[8], 0x7BEF);
    EXPECT_EQ(levels, (std::vector<int>{240, 224, 208, 192, 176, 160, 144, 128, 128, 128}));
    EXPECT_FALSE(stack.needs_drawing(true));

    ASSERT_TRUE(stack.remove(box, false));
    EXPECT_EQ(white.focused, 2);
    levels.clear();
    while (stack.needs_drawing(true) && levels.size() < 20) {
        stack.draw(screen);
        levels.push_back(stack.fade_level());
        EXPECT_EQ(pixel(screen, 15, 15), kWhite);
    }
    EXPECT_EQ(levels, (std::vector<int>{144, 160, 176, 192, 208, 224, 240, 256, 256}));
}

TEST_F(FormStackTest, PushingAndRemovingBeforeTheTransitionEndsTurnsTheSameTransitionRound) {
    stack.push(white, false, false);
    stack.push(green, false, true);
    const VisibilityAnimation* transition = stack.transition();
    ASSERT_NE(transition, nullptr);
    stack.time_step(0.05);
    const double progress = transition->progress();
    ASSERT_TRUE(stack.remove(green, true));
    ASSERT_EQ(stack.transition(), transition);
    EXPECT_EQ(transition->direction(), -1);
    EXPECT_EQ(transition->progress(), progress);
    EXPECT_EQ(stack.top(), &white);
    stack.push(green, false, true);
    ASSERT_EQ(stack.transition(), transition);
    EXPECT_EQ(transition->direction(), 1);
    finish_transition();

    // Removed with its animation, then pushed back before that ends.
    ASSERT_TRUE(stack.remove(green, true));
    transition = stack.transition();
    ASSERT_NE(transition, nullptr);
    EXPECT_EQ(transition->direction(), -1);
    stack.time_step(0.05);
    stack.push(green, false, true);
    ASSERT_EQ(stack.transition(), transition);
    EXPECT_EQ(transition->direction(), 1);
    finish_transition();
    settle();
    EXPECT_EQ(pixel(screen, 20, 15), kGreen);
    EXPECT_EQ(stack.count(), 2u);
}

TEST_F(FormStackTest, RemovingAFormFromTheMiddleChangesNothingShown) {
    stack.push(white, false, false);
    stack.push(green, false, false);
    stack.push(box, true, false);
    settle();
    RenderSurface before{Size{40, 30}};
    screen.draw_onto(before, {0, 0}, pixel_ops::copy());
    ASSERT_TRUE(stack.remove(green, true));
    ASSERT_TRUE(stack.remove(white, true));
    EXPECT_FALSE(stack.remove(white, true));
    EXPECT_FALSE(stack.transition_running());
    settle();
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(pixel(screen, x, y), pixel(before, x, y)) << x << "," << y;
    EXPECT_EQ(pixel(screen, 0, 0), 0x03E0);  // green at half
    EXPECT_EQ(host.told.back(), (TestHost::Told{&white, false}));
}

TEST_F(FormStackTest, InputReachesOnlyTheTopFormAndWithNoFormIsHandledAndGoesNowhere) {
    const PointerEvent press{5, 5, 0, 0, true, false};
    const KeyEvent enter{KeyCode::Enter, true, true};
    auto send_all = [&] {
        stack.pointer_move(press);
        const bool handled = stack.pointer_button(press);
        return std::vector<bool>{handled, stack.key(enter), stack.character(u"a")};
    };
    EXPECT_EQ(send_all(), (std::vector<bool>{true, true, true}));
    stack.push(white, false, false);
    stack.push(box, true, false);
    // Forms take no keys of their own, and nothing lies under (5, 5).
    EXPECT_EQ(send_all(), (std::vector<bool>{false, false, false}));
    EXPECT_EQ(box.inputs, 4);
    EXPECT_EQ(white.inputs, 0);
    stack.remove(box, false);
    stack.remove(white, false);
    EXPECT_EQ(send_all(), (std::vector<bool>{true, true, true}));
    EXPECT_EQ(box.inputs + white.inputs, 4);
}

TEST_F(FormStackTest, AFullFormOverAnOverlayStartsFromTheScreenAndTheBackdropIsNotDimmedTwice) {
    // The screen as it was before the program showed: blue.
    stack.backdrop().recreate({40, 30});
    stack.backdrop().fill({0, 0}, {40, 30}, Color{0, 0, 255, 255});
    stack.push(box, true, false);
    settle();
    stack.push(green, false, true);
    ASSERT_TRUE(stack.transition_running());
    stack.draw(screen);
    EXPECT_EQ(pixel(screen, 0, 0), 0x000F);  // blue at half
    EXPECT_EQ(pixel(screen, 15, 15), kRed);
    finish_transition();
    settle();
    EXPECT_EQ(pixel(screen, 15, 15), kGreen);

    // The overlay shows again over the screen dimmed to half, not a quarter,
    // and without its own earlier image in it.
    ASSERT_TRUE(stack.remove(green, false));
    settle();
    EXPECT_EQ(pixel(screen, 0, 0), 0x000F);
    EXPECT_EQ(pixel(stack.backdrop(), 15, 15), kBlue);
}

TEST_F(FormStackTest, DrawingIsNeededAfterAMarkDeepInTheTopFormOrAChangeOfTheClientArea) {
    stack.push(white, false, false);
    stack.draw(screen);
    EXPECT_FALSE(stack.needs_drawing(true));
    white.find_element(u"deep")->mark_redraw();
    EXPECT_TRUE(stack.needs_drawing(false));
    stack.draw(screen);
    EXPECT_FALSE(stack.needs_drawing(true));

    host.client = {0, 0, 30, 30};
    EXPECT_FALSE(stack.needs_drawing(false));
    EXPECT_TRUE(stack.needs_drawing(true));
    screen.fill({0, 0}, {40, 30}, Color{0, 0, 255, 255});
    stack.draw(screen);
    EXPECT_FALSE(stack.needs_drawing(true));
    EXPECT_EQ(pixel(screen, 29, 0), kWhite);
    EXPECT_EQ(pixel(screen, 30, 0), 0);  // the form's outside colour
}

TEST_F(FormStackTest, AFormIsListedOnceAndOneDestroyedOnTheStackIsDropped) {
    stack.push(white, false, false);
    stack.push(green, false, false);
    stack.push(white, false, false);
    ASSERT_EQ(stack.count(), 2u);
    EXPECT_EQ(stack.entries()[0].form, &green);
    LogCapture capture;
    {
        TestForm doomed(properties, u"box");
        stack.push(doomed, true, false);
    }
    EXPECT_EQ(stack.top(), &white);
    EXPECT_EQ(stack.focused(), nullptr);
    EXPECT_TRUE(capture.has("destroyed while on the stack"));
    stack.draw(screen);
}

TEST(FrameRateBox, CountsTheLastTwentyFramesOnly) {
    FrameRateBox box;
    EXPECT_EQ(box.label(), u"-- fps");
    for (int i = 0; i < 10; ++i) box.frame(i * 100);
    EXPECT_EQ(box.label(), u"10 fps");
    for (int i = 1; i <= 20; ++i) box.frame(900 + i * 40);
    EXPECT_EQ(box.label(), u"25 fps");
}

}  // namespace
