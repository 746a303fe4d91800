// The vlist with a real skin: rows made on demand, drags and flings,
// springs at both ends, rows growing in and shrinking out, and adapters that
// fail or reset the list from a tap.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "forms/FormTestSupport.h"
#include "support/LogCapture.h"
#include "widgets/WidgetKinds.h"
#include "widgets/list/ListAdapter.h"
#include "widgets/list/RowBuilder.h"
#include "widgets/list/VListElement.h"

namespace {

// A 100 x 200 form whose list starts 20 pixels down (180 high) with 4 pixels
// of resting gap at either end; rows are 20 pixels high.
const char kSkin[] = R"({"named": {
    "form": {"children": [
        {"strings": {"type": "vlist", "id": "vlist"},
         "points": {"border_min": [0, 20], "scroll_border_min": [0, 4], "scroll_border_max": [0, 4]},
         "children": [{"strings": {"type": "color", "id": "bg"}, "colors": {"color": [9, 9, 9]}}]}]},
    "row": {"points": {"design_size": [0, 20]}, "children": [
        {"strings": {"type": "color", "id": "#vlist_normal"}, "colors": {"color": [255, 255, 255]}},
        {"strings": {"type": "color", "id": "#vlist_pressed"}, "colors": {"color": [0, 0, 255]}},
        {"strings": {"type": "color", "id": "#vlist_selected"}, "colors": {"color": [0, 255, 0]}}]}}})";

constexpr int32_t kListTop = 20;
constexpr double kHeight = 180;

class Adapter : public ListAdapter {
public:
    explicit Adapter(Properties& properties) : properties_(properties) {}
    std::unique_ptr<Element> create_row(VListElement&, int index) override {
        ++made;
        // A row that is gone by the time the list asks for it.
        if (missing.erase(index)) return nullptr;
        auto row = row_builder::build(properties_, u"row");
        row->set_id(u"r" + std::u16string(1, static_cast<char16_t>(u'0' + index % 10)));
        return row;
    }
    void row_tapped(VListElement& list, int index) override {
        taps.push_back(index);
        if (reset_on_tap) list.set_count(3);
    }
    std::set<int> missing;
    std::vector<int> taps;
    int made = 0;
    bool reset_on_tap = false;

private:
    Properties& properties_;
};

class VList : public FormFixture {
protected:
    void SetUp() override {
        load_skin(kSkin);
        form = std::make_unique<TestForm>(properties, u"form");
        list = dynamic_cast<VListElement*>(form->find_element(u"vlist"));
        ASSERT_NE(list, nullptr);
    }
    void show(int count) {
        list->set_adapter(&adapter, count);
        frame(0.001);
    }
    void frame(double dt) {
        form->set_x_extent(0, 100);
        form->set_y_extent(0, 200);
        form->time_step(dt);
        form->draw(surface);
    }
    void run(double seconds) {
        for (double t = 0; t < seconds; t += 0.01) frame(0.01);
    }
    void down(int32_t y) { list->pointer_button({50, y, 0, 0, true, false}); }
    void move(int32_t y) { list->pointer_move({50, y, 0, 0, true, false}); }
    void up(int32_t y) { list->pointer_button({50, y, 0, 0, false, false}); }
    // A drag from y0 to y1 in steps of 10 ms.
    void drag(int32_t y0, int32_t y1, int steps) {
        down(y0);
        for (int i = 1; i <= steps; ++i) {
            frame(0.01);
            move(y0 + (y1 - y0) * i / steps);
        }
        up(y1);
    }
    // The screen top of the row of that index, or -1000 when it does not exist.
    int32_t top_of(int index) const {
        Element* row = list->row_element(index);
        return row ? row->position().y : -1000;
    }
    bool shows(Element* row, std::u16string_view state) const {
        return row->find_element(state)->visible();
    }

    WidgetKinds widget_kinds;
    Adapter adapter{properties};
    std::unique_ptr<TestForm> form;
    VListElement* list = nullptr;
    RenderSurface surface{Size{100, 200}};
};

TEST_F(VList, AFlingStartsAtTheLimitAndFrictionStopsIt) {
    show(1000);
    EXPECT_EQ(top_of(0), kListTop + 4);
    // 150 pixels up in 50 ms is 3000 px/s: the fling starts at 2000.
    drag(190, 40, 5);
    EXPECT_EQ(list->velocity(), -2000);
    double last = list->velocity();
    for (int i = 0; i < 50 && list->velocity() != 0; ++i) {
        frame(0.01);
        EXPECT_GT(list->velocity(), last);
        EXPECT_LE(list->velocity(), 0) << "friction never reverses the motion";
        last = list->velocity();
    }
    run(3);
    EXPECT_EQ(list->velocity(), 0);
    EXPECT_GT(list->window_index(0), 20) << "the fling carried the list far";
    // At rest the list stops asking to be drawn, so the loop can sleep.
    frame(0.01);
    EXPECT_FALSE(list->needs_redraw());
    EXPECT_FALSE(list->moving());
}

TEST_F(VList, ShortTapsReachTheAdapterButDragsAndCoastingListsDoNot) {
    show(50);
    Element* row2 = list->row_element(2);
    down(top_of(2) + 5);
    EXPECT_TRUE(shows(row2, u"#vlist_pressed"));
    EXPECT_FALSE(shows(row2, u"#vlist_normal"));
    move(top_of(2) + 10);  // 5 pixels: still a tap
    up(top_of(2) + 10);
    EXPECT_EQ(adapter.taps, std::vector<int>{2});
    EXPECT_TRUE(shows(row2, u"#vlist_normal"));

    drag(100, 112, 3);  // 12 pixels: a drag
    EXPECT_EQ(adapter.taps.size(), 1u);

    // Touching a coasting list brakes it five times harder and taps nothing.
    list->fling(-1000);
    frame(0.01);
    const double coasting = list->velocity();
    down(100);
    frame(0.01);
    EXPECT_LT(coasting - list->velocity(), 0) << "still moving up";
    EXPECT_GT(list->velocity() - coasting, 5 * (2 * 990 + 9) * 0.01 * 0.9);
    up(100);
    EXPECT_EQ(list->velocity(), 0) << "lifted without a drag";
    EXPECT_EQ(adapter.taps.size(), 1u);

    // The adapter may reset the list from the tap that reached it.
    adapter.reset_on_tap = true;
    down(top_of(1) + 5);
    up(top_of(1) + 5);
    frame(0.01);
    EXPECT_EQ(list->count(), 3);
    EXPECT_EQ(list->window_size(), 3u);
}

TEST_F(VList, ShortListsPulledPastEitherEndReturnToTheTop) {
    show(3);
    const int32_t rest = top_of(0);
    down(100);
    for (int y = 100; y <= 160; y += 10) move(y);
    const int32_t pulled = top_of(0) - rest;
    EXPECT_GT(pulled, 0);
    EXPECT_LT(pulled, 60) << "a pull past the end meets growing resistance";
    up(160);
    EXPECT_EQ(list->velocity(), 0);
    frame(0.05);
    EXPECT_NEAR(top_of(0), rest + pulled - 20, 1) << "returns at 400 px/s";
    run(1);
    EXPECT_EQ(top_of(0), rest);

    // Pushed up, rows that do not fill the view still come back to the top.
    down(100);
    for (int y = 100; y >= 40; y -= 10) move(y);
    up(40);
    run(1);
    EXPECT_EQ(top_of(0), rest);
}

TEST_F(VList, ALongListFlungPastItsEndSpringsBackToTheBottomGap) {
    show(30);
    list->scroll_to(25);
    frame(0.01);
    list->fling(-2000);
    run(3);
    // The last row rests 4 pixels above the bottom.
    EXPECT_EQ(list->row_element(29)->position().y + 20, 200 - 4);
    EXPECT_EQ(list->velocity(), 0);
}

TEST_F(VList, RowsShrinkOutAndGrowInWhileTheRowsInViewKeepStill) {
    show(40);
    const int32_t top0 = top_of(0);
    const int32_t top4 = top_of(4);
    list->remove_row(2);
    frame(0.05);  // 10 of 20 pixels gone
    EXPECT_EQ(top_of(0), top0);
    EXPECT_EQ(top_of(3), top4 - 10) << "the rows below move up smoothly";
    run(0.1);
    EXPECT_EQ(top_of(3), top4 - 20);
    for (size_t i = 0; i + 1 < list->window_size(); ++i)
        EXPECT_EQ(list->window_index(i) + 1, list->window_index(i + 1));

    // With a selected row as the anchor, a row growing in above it leaves it
    // where it is.
    list->set_selected(5);
    EXPECT_TRUE(shows(list->row_element(5), u"#vlist_selected"));
    const int32_t selected_top = top_of(5);
    list->insert_row(1);
    EXPECT_EQ(list->count(), 40);
    frame(0.05);
    EXPECT_EQ(list->selected(), 6);
    EXPECT_EQ(top_of(6), selected_top);
    run(0.2);
    EXPECT_EQ(top_of(6), selected_top);
    EXPECT_EQ(top_of(2) - top_of(1), 20) << "the new row grew to its full height";
    EXPECT_FALSE(list->moving());
}

TEST_F(VList, ScrollToShowsTheRowFirstAndTheEndAsAnEmptyWindow) {
    show(100);
    list->scroll_to(40);
    frame(0.01);
    EXPECT_EQ(list->window_index(0), 40);
    EXPECT_EQ(top_of(40), kListTop + 4);
    auto [start, end] = list->visible_range();
    EXPECT_NEAR(start, 0.40, 0.01);
    EXPECT_NEAR(end, 0.40 + kHeight / 2000, 0.01);

    list->scroll_to(100);
    run(0.5);
    EXPECT_EQ(list->window_size(), 0u);
    EXPECT_EQ(list->scroll_position(), 4);
    EXPECT_EQ(list->visible_range(), (std::pair<double, double>{0, 1}));
}

TEST_F(VList, AnAdapterWithoutARowShrinksTheCount) {
    LogCapture log;
    adapter.missing = {3};
    show(10);
    EXPECT_EQ(list->count(), 9);
    EXPECT_TRUE(log.has("vlist adapter made no row 3"));
    // The window stays whole: index 3 is now the adapter's next row.
    for (size_t i = 0; i < list->window_size(); ++i)
        EXPECT_EQ(list->window_index(i), static_cast<int>(i));

    // A list with no adapter at all shows its background and nothing else.
    list->set_adapter(nullptr, 5);
    frame(0.01);
    EXPECT_EQ(list->count(), 0);
    EXPECT_EQ(list->window_size(), 0u);
}

TEST_F(VList, OnlyTheVisibleRowsOfAHundredThousandExist) {
    show(100000);
    const int64_t elements = Element::live_count();
    for (int i = 0; i < 20; ++i) {
        list->fling(-2000);
        run(0.3);
        EXPECT_LE(list->window_size(), 11u);
        EXPECT_LE(Element::live_count(), elements + 8 * 2);
    }
    EXPECT_GT(list->window_index(0), 300);
    EXPECT_LT(adapter.made, 2000) << "rows are made as they come into view, not before";
}

}  // namespace
