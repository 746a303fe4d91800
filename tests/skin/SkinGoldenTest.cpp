// The test skin (assets/skins/test, compiled by the build) loaded, laid out and
// drawn as the program does, compared with reference screenshots, plus what
// screenshots do not show: bound keys and animations.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "draw/RenderSurface.h"
#include "input/KeyEvent.h"
#include "input/ScreenInfo.h"
#include "platform/Utf16.h"
#include "skin/Properties.h"
#include "skin/animations/VisibilityAnimation.h"
#include "skin/elements/ButtonElement.h"
#include "skin/elements/ElementKinds.h"
#include "skin/elements/FormRoot.h"
#include "skin/elements/MultinodeElement.h"
#include "skin/elements/ProgressElement.h"
#include "support/Golden.h"

namespace {

class TestSkin : public ::testing::Test {
protected:
    // The named node of the test skin, loaded at dpi and laid out at size.
    FormRoot& build(std::u16string_view node, Size size, int32_t dpi = 96) {
        const ScreenInfo screen{.width = size.width, .height = size.height, .pixels_per_inch = dpi};
        EXPECT_TRUE(properties_.load_skin(utf16::from_utf8(QUILLMO_TEST_SKIN), screen))
            << QUILLMO_TEST_SKIN;
        EXPECT_TRUE(root_.load_from_skin(properties_, node));
        lay_out(size);
        return root_;
    }
    void lay_out(Size size) {
        root_.set_x_extent(0, size.width);
        root_.set_y_extent(0, size.height);
    }
    template <typename T = Element>
    T& find(std::u16string_view id) {
        auto* e = dynamic_cast<T*>(root_.find_element(id));
        if (!e)
            throw std::runtime_error("no element " + utf16::to_utf8(id) + " of the expected kind");
        return *e;
    }
    std::unique_ptr<RenderSurface> draw(Size size) {
        auto surface = std::make_unique<RenderSurface>(size);
        root_.draw(*surface);
        return surface;
    }

    ElementKinds kinds_;
    Properties properties_;
    FormRoot root_;
};

bool same_pixels(const RenderSurface& a, const RenderSurface& b, Rect area) {
    for (int32_t y = area.top; y < area.bottom; ++y)
        for (int32_t x = area.left; x < area.right; ++x)
            if (a.buffer()->pixel(x, y) != b.buffer()->pixel(x, y)) return false;
    return true;
}

TEST_F(TestSkin, TheTestFormMatchesItsScreenshotsAtEveryScaleShift) {
    struct Screen {
        Size size;
        int32_t dpi;
    };
    // Both sizes at 96 and 192 dpi, and a large phone at 384 dpi, where every
    // skin measure is multiplied by four.
    for (Screen screen : {Screen{{240, 320}, 96}, Screen{{480, 800}, 96}, Screen{{240, 320}, 192},
                          Screen{{480, 800}, 192}, Screen{{1080, 2400}, 384}}) {
        Size size = screen.size;
        build(u"test_form", size, screen.dpi);
        find<ProgressElement>(u"bar").set_value(0.5);
        lay_out(size);
        expect_golden(*draw(size), QUILLMO_SKIN_GOLDEN_DIR,
                      "test_form_" + std::to_string(size.width) + "x" +
                          std::to_string(size.height) + "_" + std::to_string(screen.dpi));
    }
}

TEST_F(TestSkin, BoundKeysPressTheButtonsNamedInTheSkin) {
    build(u"test_form", {240, 320});
    auto& back = find<ButtonElement>(u"back");
    EXPECT_EQ(back.button_text(), u"Back");
    EXPECT_FALSE(back.key(KeyEvent{KeyCode::Enter, true}));
    EXPECT_TRUE(back.key(KeyEvent{KeyCode::Esc, true}));
    EXPECT_TRUE(back.find_element(u"#pressed")->visible());
    EXPECT_FALSE(back.find_element(u"#normal")->visible());
    EXPECT_TRUE(find<ButtonElement>(u"menu").key(KeyEvent{KeyCode::SoftLeft, true}));
}

TEST_F(TestSkin, EveryVisibilityAnimationDrawsSomethingElseMidwayAndTheElementAtTheEnd) {
    build(u"test_form", {240, 320});
    find<MultinodeElement>(u"pages").set_movie(false);  // keep the rest of the form still
    auto shown = draw({240, 320});
    for (const char16_t* id : {u"anim_scale", u"anim_pop", u"anim_right", u"anim_bottom",
                               u"anim_left", u"anim_top", u"anim_flip"}) {
        SCOPED_TRACE(utf16::to_utf8(id));
        Element& e = find(id);
        ASSERT_TRUE(e.visibility_animation());
        e.set_visible(false);
        auto hidden = draw({240, 320});
        EXPECT_FALSE(same_pixels(*hidden, *shown, e.rect()));
        e.show_or_hide_animated(true);
        // Past half way: a flip shows nothing until its card has turned a quarter.
        for (int i = 0; i < 20 && e.visibility_animation()->progress() < 0.55; ++i)
            root_.time_step(0.05);
        ASSERT_TRUE(e.visibility_animation()->running());
        auto midway = draw({240, 320});
        // Around the element too: a pop overshoots its rectangle.
        const Rect around{e.rect().left - 8, e.rect().top - 8, e.rect().right + 8,
                          e.rect().bottom + 8};
        EXPECT_FALSE(same_pixels(*midway, *shown, around));
        EXPECT_FALSE(same_pixels(*midway, *hidden, around));
        for (int i = 0; i < 5; ++i) root_.time_step(0.1);
        EXPECT_FALSE(e.visibility_animation()->running());
        EXPECT_TRUE(same_pixels(*draw({240, 320}), *shown, Rect{0, 0, 240, 320}));
    }
}

}  // namespace
