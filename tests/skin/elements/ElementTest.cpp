// The element tree: building from skin nodes, finding by id, layout through
// the tree, pointer routing and capture, visibility, caching and dumps.
#include <gtest/gtest.h>

#include "draw/PixelBuffer.h"
#include "draw/PixelOps.h"
#include "skin/NodeNotRegistered.h"
#include "skin/Properties.h"
#include "skin/SkinFromJson.h"
#include "skin/SkinTestSupport.h"
#include "skin/animations/VisibilityAnimation.h"
#include "skin/elements/Element.h"
#include "skin/elements/ElementFactory.h"
#include "support/Files.h"
#include "support/LogCapture.h"
#include "support/TestDevice.h"

namespace {

// A test kind: fills its half-left rectangle with a colour, and records the
// pointer events and time it gets.
class Probe : public Element {
public:
    void draw_content(RenderSurface& surface, Point position) override {
        surface.fill(position, {size().width / 2, size().height}, Color{0, 0, 255, 255});
        Element::draw_content(surface, position);
    }
    bool pointer_button(const PointerEvent& event) override {
        events.push_back(event);
        return accept;
    }
    void time_step(double seconds) override {
        time += seconds;
        Element::time_step(seconds);
    }
    void arrange_x() override {
        ++arrangements;
        Element::arrange_x();
    }

    std::vector<PointerEvent> events;
    bool accept = true;
    double time = 0;
    int arrangements = 0;
};

// Lays e out at (0, 0) in width x height.
void lay_out(Element& e, int32_t width, int32_t height) {
    e.set_x_extent(0, width);
    e.set_y_extent(0, height);
}

class ElementTree : public ::testing::Test {
protected:
    void SetUp() override {
        ElementFactory::register_kind<Element>(u"node");
        ElementFactory::register_kind<Probe>(u"probe");
    }
    void TearDown() override {
        ElementFactory::unregister_kind(u"probe");
        ElementFactory::unregister_kind(u"node");
    }

    void load(const std::string& source) {
        write_skin(device.program() / "t.skin", source);
        ASSERT_TRUE(properties.load_skin(u"%app_path%/t.skin", ScreenInfo{}, fake_makers()));
    }

    static Probe* probe(Element* e) { return dynamic_cast<Probe*>(e); }
    // A new child of kind T, added to parent.
    template <class T>
    T* add(Element& parent) {
        auto child = std::make_unique<T>();
        T* added = child.get();
        parent.add_child(std::move(child), properties);
        return added;
    }

    TestDevice device;
    Properties properties;
};

TEST_F(ElementTree, BuildsChildrenFromTheSkinFindsThemByIdNearestFirstAndStopsAtOneWithoutAType) {
    load(R"({"named": {"form": {"children": [
        {"strings": {"type": "node", "id": "a"}, "children": [
            {"strings": {"type": "probe", "id": "target"}, "integers": {"tag": 1}}]},
        {"strings": {"type": "probe", "id": "target"}}]},
        "broken": {"children": [{"strings": {"type": "probe"}}, {"integers": {"x": 1}},
                                {"strings": {"type": "probe"}}]}}})");
    Element root;
    ASSERT_TRUE(root.load_from_skin(properties, u"form"));
    ASSERT_EQ(root.child_count(), 2u);
    // The direct child wins over the deeper one that comes first in the tree.
    EXPECT_EQ(root.find_element(u"target"), root.child(1));
    EXPECT_EQ(root.child(0)->find_element(u"target"), root.child(0)->child(0));
    EXPECT_EQ(root.find_element(u"nothing"), nullptr);
    EXPECT_EQ(root.find_element(u"TARGET"), nullptr);
    EXPECT_FALSE(root.load_from_skin(properties, u"absent"));
    EXPECT_EQ(root.child_count(), 2u);

    // Reloading replaces the children; nothing leaks.
    const int64_t live = Element::live_count();
    ASSERT_TRUE(root.load_from_skin(properties, u"form"));
    EXPECT_EQ(Element::live_count(), live);

    // A child without a type stops the load after the children before it.
    EXPECT_EQ(thrown_kind<NodeNotRegistered>([&] { root.load_from_skin(properties, u"broken"); }),
              u"");
    EXPECT_EQ(root.child_count(), 1u);
}

TEST_F(ElementTree, NodesNestedPastTheLimitAreLeftOutInsteadOfExhaustingTheStack) {
    // Deeper than the JSON reader goes: the source is built as a value.
    JsonValue node = *JsonValue::parse(R"({"strings": {"type": "node"}, "children": []})", nullptr);
    JsonValue deep = node;
    for (int i = 0; i < 300; ++i) {
        JsonValue parent = node;
        parent.members[1].second.items.push_back(std::move(deep));
        deep = std::move(parent);
    }
    JsonValue source = *JsonValue::parse(R"({"named": {"deep": null}})", nullptr);
    source.members[0].second.members[0].second = std::move(deep);
    write_file(device.program() / "deep.skin", compile_skin(source));
    ASSERT_TRUE(properties.load_skin(u"%app_path%/deep.skin", ScreenInfo{}, fake_makers()));
    LogCapture capture;
    Element root;
    ASSERT_TRUE(root.load_from_skin(properties, u"deep"));
    int depth = 0;
    for (Element* e = &root; e->child_count() == 1; e = e->child(0)) ++depth;
    EXPECT_EQ(depth, 200);
    EXPECT_TRUE(capture.has("nested too deep"));
}

TEST_F(ElementTree, PlacementIsKeptByANodeWithoutPoints) {
    load(R"({"named": {
        "placed": {"points": {"border_min": [5, 6], "border_max": [7, 8], "design_size": [30, 40]},
                   "strings": {"anchor_x": "MIN_SIDE", "anchor_y": "center"}},
        "plain": {"strings": {"id": "plain"}}}})");
    Element e;
    ASSERT_TRUE(e.load_from_skin(properties, u"placed"));
    EXPECT_EQ(e.rule_x(), (AxisRule{LayoutMode::MIN_SIDE, 5, 7}));
    // Names match whole and case-sensitively: "center" is not CENTER.
    EXPECT_EQ(e.rule_y(), (AxisRule{LayoutMode::BOTH_SIDE, 6, 8}));
    EXPECT_EQ(e.design_size(), (Point{30, 40}));
    ASSERT_TRUE(e.load_from_skin(properties, u"plain"));
    EXPECT_EQ(e.rule_x().border_min, 5);
    EXPECT_EQ(e.rule_x().mode, LayoutMode::BOTH_SIDE);
    EXPECT_EQ(e.design_size(), (Point{30, 40}));
}

TEST_F(ElementTree, LayoutFlowsThroughTheTreeAndAnUnchangedRootCostsNothing) {
    load(R"({"named": {"form": {"children": [
        {"strings": {"type": "probe", "id": "bar", "anchor_y": "MIN_SIDE"},
         "points": {"border_min": [10, 2], "border_max": [10, 0], "design_size": [0, 24]}},
        {"strings": {"type": "probe", "id": "badge", "anchor_x": "MIN_SIDE_NO_SIZE", "anchor_y": "MAX_SIDE"},
         "points": {"design_size": [500, 20]}}]}}})");
    Element root;
    ASSERT_TRUE(root.load_from_skin(properties, u"form"));
    root.set_x_extent(0, 100);
    EXPECT_TRUE(root.layout_dirty());
    root.set_y_extent(0, 200);
    EXPECT_FALSE(root.layout_dirty());
    Element* bar = root.find_element(u"bar");
    Element* badge = root.find_element(u"badge");
    EXPECT_EQ(bar->rect(), (Rect{10, 2, 90, 26}));
    // A _NO_SIZE child keeps its width past the parent and adds nothing to it.
    EXPECT_EQ(badge->rect(), (Rect{0, 180, 500, 200}));
    EXPECT_EQ(root.range_x(), (SizeRange{20, 20}));

    Probe* probe_bar = probe(bar);
    const int before = probe_bar->arrangements;
    lay_out(root, 100, 200);
    EXPECT_EQ(probe_bar->arrangements, before);

    // A change below re-arranges the chain on the next setting of the root.
    bar->set_design_size({0, 30});
    EXPECT_TRUE(root.layout_dirty());
    lay_out(root, 100, 200);
    EXPECT_EQ(bar->rect(), (Rect{10, 2, 90, 32}));
}

TEST_F(ElementTree, PressesGoToTheTopmostTakerWhichKeepsTheCaptureUntilRelease) {
    Element root;
    Probe* low = add<Probe>(root);
    Probe* up = add<Probe>(root);
    lay_out(root, 10, 10);
    EXPECT_TRUE(root.hit_test({9, 9}));
    EXPECT_FALSE(root.hit_test({10, 0}));

    PointerEvent press{5, 5, 0, 0, true, false};
    up->accept = false;
    EXPECT_TRUE(root.pointer_button(press));
    EXPECT_EQ(up->events.size(), 1u);  // asked first, declined
    EXPECT_EQ(low->events.size(), 1u);

    // The captured child gets the release even far outside.
    up->accept = true;
    EXPECT_TRUE(root.pointer_button({500, 500, 0, 0, false, false}));
    EXPECT_EQ(low->events.size(), 2u);
    EXPECT_EQ(up->events.size(), 1u);

    // Nobody under the point: not handled. A hidden child is skipped.
    EXPECT_FALSE(root.pointer_button({50, 50, 0, 0, true, false}));
    up->set_visible(false);
    EXPECT_TRUE(root.pointer_button(press));
    EXPECT_EQ(low->events.size(), 3u);

    // Hiding the parent of the captured child sends it a cancelled release.
    Element outer;
    Element* inner = add<Element>(outer);
    Probe* target = add<Probe>(*inner);
    lay_out(outer, 10, 10);
    ASSERT_TRUE(outer.pointer_button(press));
    inner->set_visible(false);
    ASSERT_EQ(target->events.size(), 2u);
    EXPECT_FALSE(target->events[1].pressed);
    EXPECT_TRUE(target->events[1].cancelled);
}

TEST_F(ElementTree, ACacheWithoutAlphaShowsTheKeyColourWhereNothingWasDrawn) {
    load(R"({"named": {
        "copy": {"integers": {"cache": 1}, "children": [{"strings": {"type": "probe"}}]},
        "keyed": {"integers": {"cache": 1, "cache_alpha": 0}, "children": [{"strings": {"type": "probe"}}]}}})");
    for (auto [name, right_half] :
         {std::pair{u"copy", uint16_t{0xF81F}}, std::pair{u"keyed", uint16_t{0x1234}}}) {
        Element e;
        ASSERT_TRUE(e.load_from_skin(properties, name));
        lay_out(e, 4, 2);
        RenderSurface screen(Size{4, 2});
        screen.fill({0, 0}, {4, 2}, *pixel_ops::make_fill(0x1234));
        e.draw(screen);
        EXPECT_EQ(screen.buffer()->pixel(0, 0), 0x001F) << "drawn half";
        EXPECT_EQ(screen.buffer()->pixel(3, 1), right_half) << "empty half";
        EXPECT_FALSE(e.needs_redraw());
        EXPECT_EQ(e.cache_surface().size(), (Size{4, 2}));
        // Hidden, the cache is let go.
        e.set_visible(false);
        EXPECT_EQ(e.cache_surface().size(), (Size{0, 0}));
    }
}

TEST_F(ElementTree, RedrawMarksClimbAndAnAnimationHoldsBackTimeFromChildren) {
    load(R"({"named": {"form": {"children": [
        {"strings": {"type": "node", "id": "panel", "visibility_animation": "scale"},
         "children": [{"strings": {"type": "probe", "id": "leaf"}}]},
        {"strings": {"type": "node", "id": "plain", "visibility_animation": "fade"}}]}}})");
    Element root;
    ASSERT_TRUE(root.load_from_skin(properties, u"form"));
    lay_out(root, 20, 20);
    RenderSurface screen(Size{20, 20});
    root.draw(screen);
    EXPECT_FALSE(root.needs_redraw());

    Element* panel = root.find_element(u"panel");
    Probe* leaf = probe(root.find_element(u"leaf"));
    ASSERT_NE(panel->visibility_animation(), nullptr);
    EXPECT_EQ(root.find_element(u"plain")->visibility_animation(), nullptr);

    panel->show_or_hide_animated(false);
    EXPECT_FALSE(panel->visible());
    EXPECT_TRUE(root.needs_redraw());
    EXPECT_TRUE(panel->visibility_animation()->running());
    root.time_step(0.05);
    EXPECT_EQ(leaf->time, 0.0);
    for (int i = 0; i < 4; ++i) root.time_step(0.05);
    EXPECT_FALSE(panel->visibility_animation()->running());
    root.time_step(0.05);
    EXPECT_GT(leaf->time, 0.0);

    // Showing with a name that has no animation is immediate.
    Element* plain = root.find_element(u"plain");
    plain->show_or_hide_animated(false);
    EXPECT_FALSE(plain->visible());
}

TEST_F(ElementTree, DumpWritesOneIndentedLinePerElement) {
    Element root;
    root.set_id(u"root");
    Element* child = add<Element>(root);
    child->set_id(u"kid");
    child->set_design_size({3, 4});
    root.set_x_extent(1, 20);
    root.set_y_extent(2, 30);
    LogCapture capture;
    root.dump(0);
    EXPECT_EQ(capture.text(),
              "{root} position=1 2 size=20 30 design_size=0 0 rs.size=0 0\n"
              "\t{kid} position=1 2 size=20 30 design_size=3 4 rs.size=0 0\n");
}

TEST_F(ElementTree, TakingAndDestroyingChildrenKeepsTheTreeConsistent) {
    Element root;
    for (int i = 0; i < 3; ++i) add<Probe>(root);
    Element* middle = root.child(1);
    lay_out(root, 10, 10);
    ASSERT_TRUE(root.pointer_button({1, 1, 0, 0, true, false}));
    std::unique_ptr<Element> taken = root.take_child(2);
    EXPECT_EQ(taken->parent(), nullptr);
    EXPECT_TRUE(root.layout_dirty());
    EXPECT_EQ(root.child(1), middle);
    // The captured child went; the release goes to whoever is under it now.
    EXPECT_TRUE(root.pointer_button({1, 1, 0, 0, false, false}));
    EXPECT_EQ(probe(taken.get())->events.size(), 1u);
    EXPECT_EQ(probe(middle)->events.size(), 1u);
    const int64_t live = Element::live_count();
    root.destroy_children();
    EXPECT_EQ(root.child_count(), 0u);
    EXPECT_EQ(Element::live_count(), live - 2);
}

}  // namespace
