#include "widgets/list/VListElement.h"

#include <algorithm>
#include <cmath>

#include "draw/ClipScope.h"
#include "platform/Log.h"
#include "skin/Properties.h"
#include "skin/layout/Layout.h"
#include "widgets/list/ListAdapter.h"
#include "widgets/list/ListPhysics.h"

namespace {

int64_t live_lists = 0;

std::function<Rect()>& screen_area_source() {
    static std::function<Rect()> source;
    return source;
}

// No real view holds this many rows at once; rows of no height could
// otherwise make the whole list exist.
constexpr size_t kMaxWindow = 2000;

int32_t floor_px(double value) { return static_cast<int32_t>(std::floor(value)); }

// Calls into rows and the adapter may reset the list; the rows it drops then
// wait in retired_ until the outermost call has returned.
struct Dispatch {
    explicit Dispatch(int& counter) : depth(counter) { ++depth; }
    ~Dispatch() { --depth; }
    int& depth;
};

}  // namespace

VListElement::VListElement() { ++live_lists; }

VListElement::~VListElement() {
    // The base destructor destroys the rows without telling remove_child.
    rows_.clear();
    pressed_ = nullptr;
    --live_lists;
}

int64_t VListElement::live_count() { return live_lists; }

void VListElement::set_screen_area_source(std::function<Rect()> source) {
    screen_area_source() = std::move(source);
}

// ---- The data ----

void VListElement::set_adapter(ListAdapter* adapter, int count) {
    adapter_ = adapter;
    selected_ = -1;
    set_count(count);
}

void VListElement::set_count(int count) {
    release_press();
    reset_rows();
    count_ = std::max(count, 0);
    before_ = -1;
    end_ = 0;
    total_ = 0;
    position_ = border_min_;
    velocity_ = 0;
    animating_ = 0;
    anchor_ = true;
    placed_ = false;
    invalidate_layout();
    mark_redraw();
}

void VListElement::scroll_to(int k) {
    if (pressed_) return;
    set_count(count_);
    k = std::clamp(k, 0, count_);
    before_ = k - 1;
    end_ = k;
    position_ = border_min_;
    // Placed on purpose: row k stays first at scroll_border_min, and the
    // space below the last rows stays, until the content is moved.
    anchor_ = false;
    placed_ = true;
}

void VListElement::scroll_to_end() {
    if (pressed_) return;
    set_count(count_);
    // An empty window past the last row: filling makes the rows before it,
    // and the anchor moves them down onto the bottom.
    before_ = count_ - 1;
    end_ = count_;
}

void VListElement::refresh_row(int k) {
    auto it = std::find_if(rows_.begin(), rows_.end(),
                           [k](const Row& r) { return r.index == k && r.element; });
    if (it == rows_.end() || !adapter_) return;
    Element* old = it->element;
    std::unique_ptr<Element> fresh;
    {
        Dispatch d(dispatch_depth_);
        fresh = adapter_->create_row(*this, k);
    }
    if (!fresh) {
        log() << u"Error: vlist adapter made no row " << k << u"\n";
        remove_row(k);
        return;
    }
    if (pressed_ == old) release_press();
    Element* made = fresh.get();
    const size_t at = index_of(old);
    // The adapter may have changed the window meanwhile: look the row up again.
    it = std::find_if(rows_.begin(), rows_.end(), [old](const Row& r) { return r.element == old; });
    if (it == rows_.end() || !properties_) return;
    it->element = made;
    retire(take_child(at));
    Element::insert_child(std::move(fresh), std::min(at, child_count()), *properties_, SkinNode{},
                          u"");
    update_row_state(*it);
    place_rows();
    mark_redraw();
}

void VListElement::refresh_all_rows() {
    std::vector<int> indices;
    for (const Row& r : rows_)
        if (r.element && r.index >= 0) indices.push_back(r.index);
    // From the highest index down: a row that fails leaves the lower ones
    // where they are.
    for (auto it = indices.rbegin(); it != indices.rend(); ++it) refresh_row(*it);
}

void VListElement::insert_row(int k) {
    k = std::clamp(k, 0, count_);
    const int old_count = count_;
    ++count_;
    if (selected_ >= k) ++selected_;
    if (k <= before_) {
        for (Row& r : rows_)
            if (r.index >= 0) ++r.index;
        ++before_;
        ++end_;
    } else if (k < end_) {
        auto at = rows_.end();
        for (auto it = rows_.begin(); it != rows_.end(); ++it) {
            if (it->index < k) continue;
            if (at == rows_.end()) at = it;
            ++it->index;
        }
        rows_.insert(at, Row{nullptr, k, 0});
        ++end_;
    } else if (end_ == old_count) {
        rows_.push_back(Row{nullptr, k, 0});
        ++end_;
    }
    mark_redraw();
}

void VListElement::remove_row(int k) {
    if (k < 0 || k >= count_) return;
    --count_;
    if (selected_ == k)
        selected_ = -1;
    else if (selected_ > k)
        --selected_;
    if (k <= before_) {
        for (Row& r : rows_)
            if (r.index >= 0) --r.index;
        --before_;
        --end_;
    } else if (k < end_) {
        for (size_t i = 0; i < rows_.size(); ++i) {
            Row& r = rows_[i];
            if (r.index > k) {
                --r.index;
            } else if (r.index == k) {
                if (!r.element) {
                    rows_.erase(rows_.begin() + static_cast<ptrdiff_t>(i--));
                    continue;
                }
                if (pressed_ == r.element) release_press();
                r.index = -1;
                update_row_state(r);
            }
        }
        --end_;
    }
    // A row past the window leaves the window as it is.
    mark_redraw();
}

// ---- State ----

std::pair<double, double> VListElement::visible_range() {
    fill();
    const double h = visible_height();
    double rows_above = before_ + 1;
    double rows_below = count_ - end_;
    double visible_rows = 0;
    double visible_px = 0;
    double y = position_;
    for (const Row& r : rows_) {
        const double top = y;
        y += r.height;
        if (r.index < 0 || !r.element || r.height <= 0) continue;
        const double shown = std::clamp(y, 0.0, h) - std::clamp(top, 0.0, h);
        const double cut_top = std::clamp(-top, 0.0, r.height);
        const double cut_bottom = std::clamp(y - h, 0.0, r.height);
        rows_above += cut_top / r.height;
        rows_below += cut_bottom / r.height;
        visible_rows += shown / r.height;
        visible_px += shown;
    }
    if (visible_px <= 0 || visible_rows <= 0) return {0, 1};
    const double average = visible_px / visible_rows;
    const double above = rows_above * average;
    const double whole = above + visible_px + rows_below * average;
    const double start = std::clamp(above / whole, 0.0, 1.0);
    const double end = std::clamp((above + visible_px) / whole, start, 1.0);
    return {start, end};
}

void VListElement::set_scroll_border_min(int32_t value) {
    if (value == border_min_) return;
    border_min_ = value;
    mark_redraw();
}

void VListElement::set_selected(int index) {
    selected_ = index < 0 || index >= count_ ? -1 : index;
    for (const Row& r : rows_) update_row_state(r);
    mark_redraw();
}

void VListElement::fling(double pixels_per_second) {
    placed_ = false;
    velocity_ = list_physics::clamp_fling(pixels_per_second);
    mark_redraw();
}

bool VListElement::moving() const { return velocity_ != 0 || animating_ > 0 || moved_; }

Element* VListElement::row_element(int k) const {
    for (const Row& r : rows_)
        if (r.index == k && r.element) return r.element;
    return nullptr;
}

// ---- Element operations ----

void VListElement::load_from_node(Properties& properties, SkinNode node) {
    release_press();
    reset_rows();
    Element::load_from_node(properties, node);
    properties_ = &properties;
    background_count_ = child_count();
    border_min_ = properties.point(node, u"scroll_border_min").y;
    border_max_ = properties.point(node, u"scroll_border_max").y;
    locked_ = properties.integer(node, u"locked", 0) != 0;
    grow_ = properties.integer(node, u"grow", 0) != 0;
    preview_row_ = properties.string(node, u"preview_row");
    preview_count_ = std::max(properties.integer(node, u"preview_count", 0), 0);
    set_count(count_);
}

void VListElement::time_step(double seconds) {
    const double old_position = position_;
    const double dt = std::max(seconds, 0.0);
    tracker_.advance(dt);
    bool animated = false;
    make_inserted_rows();
    animate_heights(dt, animated);

    if (velocity_ != 0) placed_ = false;
    position_ += velocity_ * dt;
    clamp_grow();
    fill();
    if (rows_.empty()) {
        position_ = border_min_;
        velocity_ = 0;
    }
    velocity_ = list_physics::apply_friction(velocity_, dt, stylus_down_ && !pressed_);
    const double h = visible_height();
    if (window_at_end()) velocity_ = list_physics::spring_up(velocity_, space_bottom(), dt);
    if (window_at_start()) velocity_ = list_physics::spring_down(velocity_, overshoot_top(), dt);

    if (!stylus_down_ && velocity_ == 0 && !rows_.empty()) {
        const double step = list_physics::kReturnSpeed * dt;
        // Rows that do not fill the view rest at the top, whichever end they
        // were pulled past.
        const bool fits = window_at_end() && total_ + border_min_ + border_max_ <= h;
        if (window_at_start() && (overshoot_top() >= 0 || fits))
            position_ = list_physics::move_toward(position_, border_min_, step);
        else if (window_at_end() && space_bottom() >= 0)
            position_ = list_physics::move_toward(position_, h - border_max_ - total_, step);
    }

    if (stylus_down_ && pressed_) {
        const ptrdiff_t i = row_at(last_y_);
        if (i < 0 || rows_[static_cast<size_t>(i)].element != pressed_) release_press();
    }
    moved_ = position_ != old_position;
    if (moved_) place_rows();
    if (moved_ || animated || velocity_ != 0) mark_redraw();
    Element::time_step(seconds);
    retired_.clear();
}

void VListElement::draw_content(RenderSurface& surface, Point position) {
    fill();
    const Point origin = this->position();
    const Point offset = position - origin;
    const Size s = size();
    auto draw_background = [&](int32_t top, int32_t height) {
        if (height <= 0) return;
        ClipScope clip(surface, {position.x, position.y + top}, {s.width, height});
        for (size_t i = 0; i < background_count_ && i < child_count(); ++i)
            child(i)->draw(surface, child(i)->position() + offset);
    };
    const int32_t first_top = floor_px(position_);
    const int32_t last_bottom = floor_px(position_ + total_);
    if (rows_.empty()) {
        draw_background(0, s.height);
    } else {
        if (first_top >= 1) draw_background(0, std::min(first_top, s.height));
        if (last_bottom < s.height) {
            const int32_t from = std::max(last_bottom, 0);
            draw_background(from, s.height - from);
        }
    }
    ClipScope clip(surface, position, s);
    double y = position_;
    for (const Row& r : rows_) {
        const int32_t top = floor_px(y);
        y += r.height;
        if (!r.element) continue;
        const int32_t height = floor_px(y) - top;
        if (height <= 0 || top >= s.height || top + height <= 0) continue;
        ClipScope row_clip(surface, {position.x, position.y + top}, {s.width, height});
        r.element->draw(surface, r.element->position() + offset);
    }
}

void VListElement::measure_x(SizeRange& range) {
    Layout::add_design_size(range, design_size().x);
    for (size_t i = 0; i < background_count_ && i < child_count(); ++i)
        Layout::add_child(range, child(i)->rule_x(), child(i)->range_x());
}

void VListElement::measure_y(SizeRange& range) {
    Layout::add_design_size(range, design_size().y);
    for (size_t i = 0; i < background_count_ && i < child_count(); ++i)
        Layout::add_child(range, child(i)->rule_y(), child(i)->range_y());
}

void VListElement::arrange_x() {
    const AxisSpan own{position().x, size().width};
    for (size_t i = 0; i < background_count_ && i < child_count(); ++i) {
        Element& c = *child(i);
        const AxisSpan span = Layout::place_at(c.rule_x(), own, c.range_x().preferred);
        c.set_x_extent(span.position, span.extent);
    }
}

void VListElement::arrange_y() {
    const AxisSpan own{position().y, size().height};
    for (size_t i = 0; i < background_count_ && i < child_count(); ++i) {
        Element& c = *child(i);
        const AxisSpan span = Layout::place_at(c.rule_y(), own, c.range_y().preferred);
        c.set_y_extent(span.position, span.extent);
    }
    const int32_t h = size().height;
    if (h != last_height_) {
        // The bottom stays where it was when the list gets shorter at its end.
        if (last_height_ >= 0 && h < last_height_ && window_at_end()) position_ -= last_height_ - h;
        last_height_ = h;
        anchor_ = true;
    }
    place_rows();
}

void VListElement::pointer_move(const PointerEvent& event) {
    if (!stylus_down_) return;
    const int32_t dy = event.y - last_y_;
    last_y_ = event.y;
    const double height = size().height;
    if (height > 0 && dy != 0) {
        placed_ = false;
        double r = 1;
        if (dy > 0 && window_at_start()) r = list_physics::resistance(overshoot_top(), height);
        if (dy < 0 && window_at_end()) r = list_physics::resistance(space_bottom(), height);
        position_ += dy * r;
        clamp_grow();
        fill();
        mark_redraw();
    }
    tracker_.move({event.x, event.y});
    Dispatch d(dispatch_depth_);
    if (pressed_ && tracker_.active())
        release_press();
    else if (pressed_ && pressed_takes_stylus_)
        pressed_->pointer_move(event);
}

bool VListElement::pointer_button(const PointerEvent& event) {
    {
        Dispatch d(dispatch_depth_);
        if (event.cancelled) {
            release_press();
            stylus_down_ = false;
            tracker_.up();
        } else if (event.pressed) {
            press(event);
        } else {
            release(event);
        }
    }
    if (dispatch_depth_ == 0) retired_.clear();
    return true;
}

void VListElement::remove_child(Element* child, size_t index) {
    // A row taken away from outside (a reload) leaves the window too.
    for (size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].element != child) continue;
        total_ -= rows_[i].height;
        rows_.erase(rows_.begin() + static_cast<ptrdiff_t>(i));
        break;
    }
    if (pressed_ == child) pressed_ = nullptr;
    Element::remove_child(child, index);
}

// ---- Input ----

void VListElement::press(const PointerEvent& event) {
    release_press();
    stylus_down_ = true;
    last_y_ = event.y;
    tracker_.down({event.x, event.y});
    mark_redraw();
    // A moving list takes no tap: it brakes under the stylus instead.
    if (velocity_ != 0) return;
    fill();
    const ptrdiff_t i = row_at(event.y);
    if (i < 0) return;
    Row& row = rows_[static_cast<size_t>(i)];
    if (row.index < 0 || !row.element) return;
    Element* element = row.element;
    pressed_ = element;
    press_point_ = {event.x - element->position().x, event.y - element->position().y};
    pressed_takes_stylus_ = false;
    const bool taken = element->pointer_button(event);
    // The row may have reset the list while taking the press.
    if (pressed_ != element) return;
    pressed_takes_stylus_ = taken;
    for (const Row& r : rows_)
        if (r.element == element) update_row_state(r);
}

void VListElement::release(const PointerEvent& event) {
    stylus_down_ = false;
    last_y_ = event.y;
    tracker_.up();
    mark_redraw();
    if (!pressed_) {
        // The end of a drag: a fling, unless the content lies past an end.
        const bool past_top = window_at_start() && overshoot_top() > 0;
        const bool past_bottom = window_at_end() && space_bottom() > 0;
        velocity_ = past_top || past_bottom ? 0 : list_physics::clamp_fling(-tracker_.velocity().y);
        return;
    }
    velocity_ = 0;
    const ptrdiff_t i = row_at(event.y);
    if (i < 0 || rows_[static_cast<size_t>(i)].element != pressed_) {
        release_press();
        return;
    }
    Element* element = pressed_;
    const int index = rows_[static_cast<size_t>(i)].index;
    const bool takes_stylus = pressed_takes_stylus_;
    pressed_ = nullptr;
    pressed_takes_stylus_ = false;
    update_row_state(rows_[static_cast<size_t>(i)]);
    if (takes_stylus) {
        element->pointer_button(event);
        return;
    }
    if (adapter_ && index >= 0) adapter_->row_tapped(*this, index);
}

void VListElement::release_press() {
    if (!pressed_) return;
    Element* element = pressed_;
    const bool takes_stylus = pressed_takes_stylus_;
    pressed_ = nullptr;
    pressed_takes_stylus_ = false;
    for (const Row& r : rows_)
        if (r.element == element) update_row_state(r);
    if (takes_stylus) {
        Dispatch d(dispatch_depth_);
        PointerEvent cancel;
        cancel.cancelled = true;
        element->pointer_button(cancel);
    }
    mark_redraw();
}

// ---- The window ----

double VListElement::visible_height() const {
    const double own = size().height;
    if (!grow_ || !screen_area_source()) return own;
    const Rect area = screen_area_source()();
    return std::max(0, area.bottom - position().y);
}

double VListElement::space_bottom() const {
    return visible_height() - border_max_ - total_ - position_;
}

void VListElement::reset_rows() {
    while (!rows_.empty()) delete_row(rows_.size() - 1);
    total_ = 0;
}

void VListElement::retire(std::unique_ptr<Element> row) {
    if (row && dispatch_depth_ > 0) retired_.push_back(std::move(row));
}

void VListElement::delete_row(size_t i) {
    const Row row = rows_[i];
    if (row.element && pressed_ == row.element) release_press();
    // release_press may have called into the row, which may have changed
    // the window: find the row again.
    auto it = std::find_if(rows_.begin(), rows_.end(), [&row](const Row& r) {
        return r.element == row.element && r.index == row.index;
    });
    if (it == rows_.end()) return;
    total_ -= it->height;
    rows_.erase(it);
    if (row.element) retire(take_child(index_of(row.element)));
}

Element* VListElement::make_row(int index) {
    if (!adapter_ || !properties_) {
        log() << u"Error: vlist has no adapter for row " << index << u"\n";
        return nullptr;
    }
    std::unique_ptr<Element> row;
    {
        Dispatch d(dispatch_depth_);
        row = adapter_->create_row(*this, index);
    }
    if (!row) {
        log() << u"Error: vlist adapter made no row " << index << u"\n";
        return nullptr;
    }
    Element* made = row.get();
    Element::insert_child(std::move(row), child_count(), *properties_, SkinNode{}, u"");
    return made;
}

void VListElement::drop_index(int index) {
    --count_;
    for (size_t i = 0; i < rows_.size(); ++i) {
        Row& r = rows_[i];
        if (r.index > index)
            --r.index;
        else if (r.index == index && !r.element)
            rows_.erase(rows_.begin() + static_cast<ptrdiff_t>(i--));
    }
    if (before_ >= index) --before_;
    if (end_ > index) --end_;
    if (selected_ == index)
        selected_ = -1;
    else if (selected_ > index)
        --selected_;
}

int32_t VListElement::laid_out_height(Element& row) {
    row.set_x_extent(position().x, size().width);
    return std::max(row.range_y().preferred, 0);
}

void VListElement::fill() {
    // Each pass may uncover work for an earlier step (rows dropped at the
    // top leave room at the bottom); a few passes settle any real case.
    for (int pass = 0; pass < 4 && fill_pass(); ++pass) {
    }
    if (anchor_ && size().height > 0) {
        const double space = visible_height() - border_max_ - position_ - total_;
        if (space > 0) {
            position_ += space;
            fill_pass();
            if (window_at_start() && position_ > border_min_) position_ = border_min_;
        }
        anchor_ = false;
        fill_pass();
    }
    place_rows();
}

bool VListElement::fill_pass() {
    const double h = visible_height();
    bool changed = false;
    // 1. Rows above the first one while there is room above it.
    while (position_ > 0 && !placed_ && before_ >= 0 && rows_.size() < kMaxWindow) {
        const int index = before_;
        Element* row = make_row(index);
        changed = true;
        if (!row) {
            drop_index(index);
            continue;
        }
        const double height = laid_out_height(*row);
        rows_.push_front(Row{row, index, height});
        total_ += height;
        position_ -= height;
        before_ = index - 1;
        update_row_state(rows_.front());
    }
    // 2. Rows wholly above the top go.
    while (!rows_.empty() && position_ + rows_.front().height < 0) {
        const Row front = rows_.front();
        position_ += front.height;
        if (front.index >= 0) before_ = front.index;
        delete_row(0);
        changed = true;
    }
    // 3. Rows below the last one while there is room below it.
    while (position_ + total_ < h && end_ < count_ && rows_.size() < kMaxWindow) {
        const int index = end_;
        Element* row = make_row(index);
        changed = true;
        if (!row) {
            drop_index(index);
            continue;
        }
        const double height = laid_out_height(*row);
        rows_.push_back(Row{row, index, height});
        total_ += height;
        end_ = index + 1;
        update_row_state(rows_.back());
    }
    // 4. Rows wholly below the bottom go.
    while (!rows_.empty() && position_ + total_ - rows_.back().height >= h) {
        const Row back = rows_.back();
        if (back.index >= 0) end_ = back.index;
        delete_row(rows_.size() - 1);
        changed = true;
    }
    return changed;
}

void VListElement::make_inserted_rows() {
    for (size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].element || rows_[i].index < 0) continue;
        const int index = rows_[i].index;
        Element* row = make_row(index);
        if (!row) {
            drop_index(index);
            --i;
            continue;
        }
        // make_row leaves the window's order alone, so i still names the row.
        rows_[i].element = row;
        update_row_state(rows_[i]);
    }
}

void VListElement::animate_heights(double dt, bool& animated) {
    const size_t anchor = anchor_row();
    const double step = list_physics::kRowSpeed * dt;
    animating_ = 0;
    for (size_t i = 0; i < rows_.size(); ++i) {
        Row& r = rows_[i];
        if (!r.element) continue;
        const double target = r.index < 0 ? 0 : laid_out_height(*r.element);
        if (r.height == target) continue;
        const double before = r.height;
        r.height = list_physics::move_toward(before, target, step);
        const double change = r.height - before;
        total_ += change;
        animated = true;
        if (r.height != target) ++animating_;
        if (r.index < 0 && i < anchor) {
            // A row shrinking out above the anchor: the rows below keep
            // still, but with row 0 in the window the top is never pushed
            // into empty space by it.
            if (!window_at_start())
                position_ -= change;
            else if (position_ <= 0)
                position_ = std::min(position_ - change, 0.0);
        } else if (i < anchor) {
            position_ -= change;
        } else if (i == anchor) {
            position_ -= change / 2;
        }
    }
    for (size_t i = rows_.size(); i-- > 0;)
        if (rows_[i].index < 0 && rows_[i].height <= 0) delete_row(i);
    if (animated) place_rows();
}

size_t VListElement::anchor_row() const {
    for (size_t i = 0; i < rows_.size(); ++i)
        if (pressed_ && rows_[i].element == pressed_) return i;
    for (size_t i = 0; i < rows_.size(); ++i)
        if (selected_ >= 0 && rows_[i].index == selected_) return i;
    return 0;
}

void VListElement::place_rows() {
    const Point origin = position();
    const int32_t width = size().width;
    double y = position_;
    for (const Row& r : rows_) {
        if (r.element) {
            r.element->set_x_extent(origin.x, width);
            r.element->set_y_extent(origin.y + floor_px(y), r.element->range_y().preferred);
        }
        y += r.height;
    }
}

void VListElement::clamp_grow() {
    if (!grow_) return;
    bool clamped = false;
    const double h = visible_height();
    if (window_at_end() && position_ + total_ < h - border_max_) {
        position_ = h - border_max_ - total_;
        clamped = true;
    }
    if (window_at_start() && position_ > border_min_) {
        position_ = border_min_;
        clamped = true;
    }
    if (clamped) velocity_ = 0;
}

ptrdiff_t VListElement::row_at(int32_t y) const {
    const int32_t local = y - position().y;
    if (local < 0 || local >= size().height) return -1;
    double top = position_;
    for (size_t i = 0; i < rows_.size(); ++i) {
        const double bottom = top + rows_[i].height;
        if (rows_[i].element && floor_px(top) <= local && local < floor_px(bottom))
            return static_cast<ptrdiff_t>(i);
        top = bottom;
    }
    return -1;
}

void VListElement::update_row_state(const Row& row) {
    if (!row.element) return;
    Element* normal = row.element->find_element(u"#vlist_normal");
    Element* pressed = row.element->find_element(u"#vlist_pressed");
    Element* selected = row.element->find_element(u"#vlist_selected");
    Element* chosen = normal;
    if (pressed_ == row.element && !pressed_takes_stylus_)
        chosen = pressed;
    else if (row.index >= 0 && row.index == selected_)
        chosen = selected;
    for (Element* state : {normal, pressed, selected})
        if (state) state->set_visible(state == chosen);
}
