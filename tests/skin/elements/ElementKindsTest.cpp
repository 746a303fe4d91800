// The element kinds of the skin engine: what each reads from its node, how it
// draws, lays out and reacts to input.
#include <gtest/gtest.h>

#include "draw/TestFonts.h"
#include "draw/text/TextDraw.h"
#include "skin/NodeAlreadyRegistered.h"
#include "skin/Properties.h"
#include "skin/SkinFromJson.h"
#include "skin/SkinTestSupport.h"
#include "skin/elements/ButtonElement.h"
#include "skin/elements/ElementFactory.h"
#include "skin/elements/ElementKinds.h"
#include "skin/elements/FormRoot.h"
#include "skin/elements/MultinodeElement.h"
#include "skin/elements/ProgressElement.h"
#include "skin/elements/TableElement.h"
#include "skin/elements/TextElement.h"
#include "support/TestDevice.h"

namespace {

// Pictures need no files; text is drawn in DejaVu Sans.
SkinFile::Makers test_makers() {
    return {fake_makers().picture, [](const FontDesc& desc) { return dejavu(desc.size); }};
}

// The pixels, row by row, of e drawn at (0, 0) on a white surface of size.
std::vector<uint16_t> drawn(Element& e, Size size) {
    RenderSurface s(size);
    s.fill({0, 0}, size, Color{255, 255, 255, 255});
    e.draw(s, {0, 0});
    std::vector<uint16_t> out;
    for (int32_t y = 0; y < size.height; ++y)
        for (int32_t x = 0; x < size.width; ++x) out.push_back(s.buffer()->pixel(x, y));
    return out;
}

struct ButtonLog : ButtonListener {
    void clicked(ButtonElement&, const Click& c) override { add("click", c.x, c.y, false); }
    void state_changed(ButtonElement&, const StateChange& s) override {
        add("state", s.x, s.y, s.cancelled);
    }
    void dragged(ButtonElement&, Drag&) override {}
    void add(std::string what, int32_t x, int32_t y, bool cancelled) {
        log.push_back(what + " " + std::to_string(x) + " " + std::to_string(y) +
                      (cancelled ? " cancelled" : ""));
    }
    std::vector<std::string> log;
};

// A text node in the size 9 font: its strings and further attributes.
std::string text_node(const std::string& strings, const std::string& more = "") {
    return R"({"strings": {"type": "text", )" + strings + R"(}, "fonts": {"font": {"size": 9}})" +
           more + "}";
}

class ElementKindsTest : public ::testing::Test {
protected:
    // Builds target from a skin node with these children (JSON nodes) and lays
    // it out at (0, 0).
    void build(Element& target, const std::string& children, int32_t width, int32_t height,
               const std::string& root_attributes = "") {
        write_skin(device.program() / "k.skin", R"({"named": {"r": {)" + root_attributes +
                                                    R"("children": [)" + children + "]}}}");
        ASSERT_TRUE(properties.load_skin(u"%app_path%/k.skin", ScreenInfo{}, test_makers()));
        ASSERT_TRUE(target.load_from_skin(properties, u"r"));
        lay_out(target, width, height);
    }
    static void lay_out(Element& target, int32_t width, int32_t height) {
        target.set_x_extent(0, width);
        target.set_y_extent(0, height);
    }

    TestDevice device;
    ElementKinds kinds;
    Properties properties;
    Element root;
};

TEST(ElementKinds, RegistersTheKindsForItsLifetimeAndTakesThemBackOnAFailedStart) {
    {
        ElementKinds kinds;
        EXPECT_NE(dynamic_cast<VTableElement*>(ElementFactory::create(u"vtable").get()), nullptr);
        EXPECT_THROW(ElementKinds{}, NodeAlreadyRegistered);
        EXPECT_TRUE(ElementFactory::registered(u"text"));
    }
    EXPECT_FALSE(ElementFactory::registered(u"node"));
    EXPECT_FALSE(ElementFactory::registered(u"clip"));
}

TEST_F(ElementKindsTest, TextMatchesWholeAlignmentNamesAndRedrawsOrWrapsOnlyOnChange) {
    FormRoot form;
    build(form,
          text_node(R"("halign": "center", "valign": "bottom", "text": "ii")") + "," +
              text_node(R"("halign": "LEFT", "valign": "BOTTOM", "text": "ii")") + "," +
              text_node(R"("halign": "JUSTIFY", "valign": "BOTTOM", "text": "ii")") + "," +
              text_node(R"("id": "#plain", "text": "ii")") + "," +
              text_node(R"("id": "#grow", "anchor_x": "MIN_SIDE", "text": "Hello world")",
                        R"(, "integers": {"grow": 1, "grow_min": 1, "wrap": 1})"),
          60, 20, R"("colors": {"outside_color": [1, 2, 3]},)");
    EXPECT_EQ(form.outside_color(), (Color{1, 2, 3, 255}));
    std::vector<std::vector<uint16_t>> shown;
    for (size_t i = 0; i < 4; ++i) shown.push_back(drawn(*form.child(i), {60, 20}));
    EXPECT_EQ(dynamic_cast<TextElement*>(form.child(2))->halign(), TextElement::JUSTIFY);
    EXPECT_EQ(shown[0], shown[3]);  // "center" and "bottom" fall back to centred
    EXPECT_EQ(shown[1], shown[2]);  // justified as left
    EXPECT_NE(shown[0], shown[1]);

    RenderSurface surface(Size{60, 20});
    form.draw(surface);
    form.set_text(u"#plain", u"ii");
    EXPECT_FALSE(form.needs_redraw());
    EXPECT_FALSE(form.layout_dirty());
    form.set_text(u"#plain", u"b");
    EXPECT_EQ(dynamic_cast<TextElement*>(form.child(3))->text(), u"b");
    EXPECT_TRUE(form.needs_redraw());
    EXPECT_FALSE(form.layout_dirty());

    auto* grow = dynamic_cast<TextElement*>(form.child(4));
    const int32_t one_line = TextDraw::measure(*grow->font(), u"Hello world").width;
    lay_out(form, 200, 100);
    EXPECT_EQ(grow->range_x(), (SizeRange{one_line, one_line}));
    // Narrower than the text: it wraps and grows to the height of its two lines.
    lay_out(form, one_line / 2, 100);
    const int32_t two_lines = 2 * grow->font()->height();
    EXPECT_EQ(grow->range_y(), (SizeRange{two_lines, two_lines}));
    form.set_text(u"#grow", u"Hello");
    EXPECT_TRUE(form.layout_dirty());
}

TEST_F(ElementKindsTest, ButtonClicksOnlyWhenReleasedInsideAndShowsItsState) {
    build(
        root,
        R"({"strings": {"type": "button", "bind_key": "Enter", "text": "Send", "anchor_x": "MIN_SIDE", "anchor_y": "MIN_SIDE"},
         "points": {"border_min": [10, 20], "design_size": [31, 11]},
         "children": [{"strings": {"type": "node", "id": "#normal"}}, {"strings": {"type": "node", "id": "#pressed"}},
                      {"strings": {"type": "node", "id": "#disabled"}}, {"strings": {"type": "text", "id": "#text"}}]},
        {"strings": {"type": "button", "bind_key": "F1", "anchor_x": "MIN_SIDE", "anchor_y": "MIN_SIDE"}})",
        100, 100);
    auto* button = dynamic_cast<ButtonElement*>(root.child(0));
    ButtonLog log;
    button->set_listener(&log);
    // Which of the normal, pressed and disabled looks are shown.
    auto look = [&] {
        std::string shown;
        for (auto id : {u"#normal", u"#pressed", u"#disabled"})
            shown += button->find_element(id)->visible() ? '1' : '0';
        return shown;
    };
    EXPECT_EQ(dynamic_cast<TextElement*>(button->find_element(u"#text"))->text(), u"Send");
    EXPECT_EQ(look(), "100");

    // Press inside and release outside: the look comes back, no click.
    EXPECT_TRUE(root.pointer_button({15, 25, 0, 0, true, false}));
    EXPECT_EQ(look(), "010");
    root.pointer_button({90, 90, 0, 0, false, false});
    EXPECT_EQ(look(), "100");
    // Released inside: one click. Cancelled: none.
    root.pointer_button({15, 25, 0, 0, true, false});
    root.pointer_button({16, 26, 0, 0, false, false});
    root.pointer_button({15, 25, 0, 0, true, false});
    root.pointer_button({0, 0, 0, 0, false, true});
    EXPECT_EQ(look(), "100");
    // The bound key clicks at the centre.
    EXPECT_FALSE(button->key({KeyCode::Space, true, true}));
    EXPECT_TRUE(button->key({KeyCode::Enter, true, true}));
    EXPECT_EQ(look(), "010");
    EXPECT_TRUE(button->key({KeyCode::Enter, false, true}));
    EXPECT_EQ(log.log,
              (std::vector<std::string>{"state 15 25", "state 90 90", "state 15 25", "state 16 26",
                                        "click 16 26", "state 15 25", "state 0 0 cancelled",
                                        "state 25 25", "state 25 25", "click 25 25"}));
    button->set_enabled(false);
    EXPECT_EQ(look(), "001");

    // "F1" is no key name of the program: that button takes no key at all.
    auto* unbound = dynamic_cast<ButtonElement*>(root.child(1));
    EXPECT_EQ(unbound->bind_key(), KeyCode::None);
    EXPECT_FALSE(unbound->key({KeyCode::None, true, true}));
    EXPECT_FALSE(unbound->key({KeyCode::Enter, true, true}));
}

TEST_F(ElementKindsTest, MultinodeTurnsPagesAfterTheirDelaysOrWhenAButtonPageIsClicked) {
    build(root, R"({"strings": {"type": "multinode", "delay": "0.5"}, "integers": {"movie": 1},
         "children": [{"strings": {"type": "node"}}, {"strings": {"type": "node", "delay": "2"}},
                      {"strings": {"type": "node"}}]},
        {"strings": {"type": "multinode", "text": "Next"}, "children": [
         {"strings": {"type": "button"}, "children": [{"strings": {"type": "text", "id": "#text"}}]},
         {"strings": {"type": "button"}}]})",
          10, 10);
    auto* movie = dynamic_cast<MultinodeElement*>(root.child(0));
    std::string pages;
    for (int step = 0; step < 14; ++step) {
        root.time_step(0.25);
        pages += std::to_string(movie->current());
        for (size_t i = 0; i < 3; ++i) EXPECT_EQ(movie->child(i)->visible(), i == movie->current());
    }
    // 0.5 s on page 0, 2 s on page 1, 0.5 s on page 2, then round again.
    EXPECT_EQ(pages, "01111111122001");
    movie->set_visible(false);
    root.time_step(10);
    EXPECT_EQ(movie->current(), 1u);
    // Removing the current page when it is the last wraps to the first.
    movie->select(2, 0);
    std::unique_ptr<Element> gone = movie->take_child(2);
    EXPECT_EQ(movie->current(), 0u);
    EXPECT_TRUE(movie->child(0)->visible());
    EXPECT_FALSE(movie->child(1)->visible());

    auto* pager = dynamic_cast<MultinodeElement*>(root.child(1));
    EXPECT_EQ(dynamic_cast<TextElement*>(pager->find_element(u"#text"))->text(), u"Next");
    root.pointer_button({5, 5, 0, 0, true, false});
    root.pointer_button({5, 5, 0, 0, false, false});
    EXPECT_EQ(pager->current(), 1u);
    // A page taken out no longer reports to the multinode, and the shown
    // page stays the current one.
    std::unique_ptr<Element> page = pager->take_child(0);
    EXPECT_EQ(dynamic_cast<ButtonElement*>(page.get())->listener(), nullptr);
    EXPECT_EQ(pager->current(), 0u);
    EXPECT_TRUE(pager->child(0)->visible());
}

TEST(MultinodeDelay, ParsesPlainDecimalsOnly) {
    EXPECT_EQ(MultinodeElement::parse_delay(u"0.5"), 0.5);
    EXPECT_EQ(MultinodeElement::parse_delay(u"2"), 2.0);
    EXPECT_EQ(MultinodeElement::parse_delay(u".25"), 0.25);
    for (auto bad : {u"", u".", u"-1", u"+1", u"1e3", u" 1", u"1,5", u"1.2.3", u"inf", u"0x10"})
        EXPECT_EQ(MultinodeElement::parse_delay(bad), std::nullopt);
}

TEST_F(ElementKindsTest, ProgressLineTakesItsShareInsideItsBorders) {
    build(root, R"({"strings": {"type": "progress"}, "children": [
        {"strings": {"id": "#line", "type": "node", "anchor_x": "MIN_SIDE"},
         "points": {"border_min": [2, 1], "border_max": [2, 1]}}]})",
          100, 10);
    auto* bar = dynamic_cast<ProgressElement*>(root.child(0));
    ASSERT_NE(bar->line(), nullptr);
    for (auto [value, right] : {std::pair{0.5, 50}, {7.0, 98}, {0.001, 2}}) {
        bar->set_value(value);
        lay_out(root, 100, 10);
        EXPECT_EQ(bar->line()->rect(), (Rect{2, 1, right, 9})) << value;
    }
}

TEST_F(ElementKindsTest, TableKeepsRatiosWithItsChildrenAndClosesUpHiddenOnes) {
    build(root, R"({"strings": {"type": "htable"}, "children": [
        {"strings": {"type": "node"}, "points": {"design_size": [20, 5]}, "integers": {"table_ratio": 1}},
        {"strings": {"type": "node"}, "points": {"design_size": [20, 5]}, "integers": {"table_ratio": 2}},
        {"strings": {"type": "node"}, "points": {"design_size": [20, 5]}, "integers": {"table_ratio": 3}}]})",
          60, 10);
    auto* table = dynamic_cast<TableElement*>(root.child(0));
    EXPECT_EQ(table->ratios(), (std::vector<int32_t>{1, 2, 3}));
    EXPECT_EQ(table->child(2)->rect(), (Rect{40, 0, 60, 10}));

    table->child(1)->set_visible(false);
    EXPECT_TRUE(root.layout_dirty());
    lay_out(root, 60, 10);
    // The 20 left over goes to the others by their ratios 1 : 3.
    EXPECT_EQ(table->child(0)->rect(), (Rect{0, 0, 25, 10}));
    EXPECT_EQ(table->child(2)->rect(), (Rect{25, 0, 60, 10}));

    std::unique_ptr<Element> taken = table->take_child(1);
    EXPECT_EQ(table->ratios(), (std::vector<int32_t>{1, 3}));
    table->insert_child(std::make_unique<Element>(), 1, properties, SkinNode{}, u"");
    EXPECT_EQ(table->ratios(), (std::vector<int32_t>{1, 0, 3}));
}

TEST_F(ElementKindsTest, AHighlightColoursItsRangeWhereTheWholeLineDrawsIt) {
    FormRoot form;
    auto text = [](const std::string& strings, const std::string& more = "") {
        return text_node(R"("text": "Hello world", )" + strings, more);
    };
    // Left, centred, right, and cut with an ellipsis inside the highlight.
    build(form,
          text(R"("halign": "LEFT")") + "," + text(R"("halign": "CENTER")") + "," +
              text(R"("halign": "RIGHT")") + "," +
              text(R"("halign": "LEFT", "anchor_x": "MIN_SIDE")",
                   R"(, "integers": {"ellipsis": 1}, "points": {"design_size": [58, 0]})"),
          80, 20);
    const Color red{255, 0, 0, 255};
    auto& cut = *dynamic_cast<TextElement*>(form.child(3));
    const size_t kept = TextDraw::ellipsis_length(*cut.font(), cut.text(), cut.size().width);
    ASSERT_GT(kept, 6u);
    ASSERT_LT(kept, cut.text().size());
    for (size_t i = 0; i < 4; ++i) {
        auto& element = *dynamic_cast<TextElement*>(form.child(i));
        const std::vector<uint16_t> plain = drawn(element, {80, 20});
        // In the text's own colour the runs fall exactly where the line was.
        element.set_highlight({6, 3, element.color()});
        EXPECT_EQ(drawn(element, {80, 20}), plain) << i;

        element.set_highlight({6, 30, red});
        const std::vector<uint16_t> marked = drawn(element, {80, 20});
        const int32_t left = i == 0 ? TextDraw::measure(*element.font(), u"Hello ").width : 0;
        bool any_red = false;
        for (int32_t y = 0; y < 20; ++y)
            for (int32_t x = 0; x < 80; ++x) {
                const uint16_t c = marked[y * 80 + x];
                if ((c >> 11) < 25 || ((c >> 5) & 63) > 20) continue;
                any_red = true;
                EXPECT_GE(x, left - 1) << i;
            }
        EXPECT_TRUE(any_red) << i;
    }
}

}  // namespace
