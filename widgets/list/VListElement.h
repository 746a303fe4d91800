#pragma once
// "vlist": a vertical list whose rows come from a ListAdapter on demand. Only
// the rows in or next to the view exist (the window); the list places and
// clips them, scrolls by stylus drags, coasts after a fling and slows down by
// friction, springs back when pulled past either end and lets inserted and
// removed rows grow in and shrink out at 200 pixels per second while the rows
// in view keep still.
//
// Rows are children of the list after its own children from the skin (its
// background, drawn only where no row lies). A row may hold "#vlist_normal",
// "#vlist_pressed" and "#vlist_selected": exactly one is shown, following
// the press and the selected index.
//
// Skin attributes: "scroll_border_min" and "scroll_border_max" (points, y
// used: the resting gaps above the first and below the last row), "locked"
// (kept for the owning form), "grow" (the visible height is the screen area's
// below the list top, and the content never goes past its ends), and for
// viewers "preview_row" and "preview_count".
//
// While it moves (a fling, a spring, a return, a row growing or shrinking)
// the list marks itself for redraw on every time step; at rest it marks
// nothing.
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "skin/elements/Element.h"
#include "widgets/list/DragTracker.h"

class ListAdapter;

class VListElement : public Element {
public:
    std::u16string_view kind_name() const override { return u"vlist"; }
    VListElement();
    ~VListElement() override;

    // The visible screen area in screen pixels, for lists with "grow"; the
    // application sets it once (smaller while the input panel is open). With
    // none, a growing list uses its own height.
    static void set_screen_area_source(std::function<Rect()> source);

    // ---- The data ----

    // Keeps adapter (not owned; null for none) and resets with count rows.
    // The selected index becomes -1.
    void set_adapter(ListAdapter* adapter, int count);
    // Drops every row, the press and the motion; count rows, the first at
    // scroll_border_min. Negative counts are 0.
    void set_count(int count);
    // Resets so that row k (clamped to 0..count) is the first row shown, at
    // scroll_border_min, until the content moves; scroll_to(count) shows an
    // empty window. Ignored while a row is pressed.
    void scroll_to(int k);
    // Resets so that the last row rests scroll_border_max above the bottom
    // with the rows before it filling the view above it (a conversation
    // opened at its newest message); rows that fit the view whole rest at
    // scroll_border_min instead. Ignored while a row is pressed.
    void scroll_to_end();
    // Row k is made again by the adapter, if it exists now.
    void refresh_row(int k);
    // Every existing row that is not shrinking out is made again.
    void refresh_all_rows();
    // A row appears at k (0..count) and grows in from height 0 when it lies
    // in the window; the rows in view keep still.
    void insert_row(int k);
    // Row k (0..count-1) goes; an existing one shrinks out first.
    void remove_row(int k);

    // ---- State ----

    int count() const { return count_; }
    // Fractions of the whole list above the view and at its bottom edge, for
    // a scroll indicator; (0, 1) with nothing visible.
    std::pair<double, double> visible_range();
    void set_scroll_border_min(int32_t value);
    int32_t scroll_border_min() const { return border_min_; }
    int32_t scroll_border_max() const { return border_max_; }
    bool locked() const { return locked_; }
    bool grows() const { return grow_; }
    int selected() const { return selected_; }
    void set_selected(int index);
    // Starts the list moving as a released drag would, clamped to the fling
    // limit.
    void fling(double pixels_per_second);
    double scroll_position() const { return position_; }
    double velocity() const { return velocity_; }
    // Whether anything moves: a fling, a return, a row growing or shrinking.
    bool moving() const;
    // The index of the row element shown at row i of the window (-1 for a
    // row shrinking out), the window's size, and its element (null for a row
    // not made yet).
    size_t window_size() const { return rows_.size(); }
    int window_index(size_t i) const { return rows_[i].index; }
    Element* window_row(size_t i) const { return rows_[i].element; }
    double window_height(size_t i) const { return rows_[i].height; }
    // The existing row of index k, or null.
    Element* row_element(int k) const;
    const std::u16string& preview_row() const { return preview_row_; }
    int32_t preview_count() const { return preview_count_; }

    // ---- Element operations ----

    void load_from_node(Properties& properties, SkinNode node) override;
    void time_step(double seconds) override;
    void draw_content(RenderSurface& surface, Point position) override;
    void measure_x(SizeRange& range) override;
    void measure_y(SizeRange& range) override;
    void arrange_x() override;
    void arrange_y() override;
    void pointer_move(const PointerEvent& event) override;
    bool pointer_button(const PointerEvent& event) override;
    void remove_child(Element* child, size_t index) override;

    // Lists alive in this process.
    static int64_t live_count();

private:
    struct Row {
        // Null while an inserted row waits to be made.
        Element* element = nullptr;
        // -1 once removed.
        int index = -1;
        double height = 0;
    };

    double visible_height() const;
    void reset_rows();
    void fill();
    bool fill_pass();
    void animate_heights(double dt, bool& animated);
    void make_inserted_rows();
    // A new row for index through the adapter, a child of the list; null
    // when there is none (the caller then drops the index).
    Element* make_row(int index);
    void drop_index(int index);
    void delete_row(size_t i);
    void press(const PointerEvent& event);
    void release(const PointerEvent& event);
    void release_press();
    void update_row_state(const Row& row);
    int32_t laid_out_height(Element& row);
    void place_rows();
    void clamp_grow();
    // -1 when there is no row at y.
    ptrdiff_t row_at(int32_t y) const;
    size_t anchor_row() const;
    bool window_at_start() const { return before_ < 0; }
    bool window_at_end() const { return end_ >= count_; }
    // How far the first row lies below scroll_border_min, and the empty space
    // below the last row.
    double overshoot_top() const { return position_ - border_min_; }
    double space_bottom() const;
    void retire(std::unique_ptr<Element> row);

    ListAdapter* adapter_ = nullptr;
    // The skin's, kept from the load for inserting rows.
    Properties* properties_ = nullptr;
    std::deque<Row> rows_;
    // Rows dropped while a call into a row or the adapter was under way; they
    // go once that call has returned.
    std::vector<std::unique_ptr<Element>> retired_;
    int dispatch_depth_ = 0;
    size_t background_count_ = 0;

    int count_ = 0;
    int before_ = -1;
    int end_ = 0;
    double position_ = 0;
    double velocity_ = 0;
    double total_ = 0;
    int animating_ = 0;
    int32_t last_height_ = -1;
    bool anchor_ = true;
    bool moved_ = false;
    // Set by scroll_to until the content moves: no rows are made above the
    // first one, which rests at scroll_border_min.
    bool placed_ = false;

    Element* pressed_ = nullptr;
    bool pressed_takes_stylus_ = false;
    Point press_point_;
    int selected_ = -1;
    bool stylus_down_ = false;
    int32_t last_y_ = 0;
    DragTracker tracker_;

    int32_t border_min_ = 0;
    int32_t border_max_ = 0;
    bool locked_ = false;
    bool grow_ = false;
    std::u16string preview_row_;
    int32_t preview_count_ = 0;
};
