#include "skin/elements/Element.h"

#include <atomic>
#include <optional>

#include "draw/Color.h"
#include "draw/PixelOps.h"
#include "platform/Log.h"
#include "skin/Properties.h"
#include "skin/animations/VisibilityAnimation.h"
#include "skin/elements/ElementFactory.h"
#include "skin/layout/Layout.h"
#include "skin/layout/LayoutMode.h"
#include "skin/layout/LayoutObserver.h"

namespace {

std::atomic<int64_t> g_live_elements{0};

// How deep skin nodes are built into elements. Real skins nest a dozen
// levels; a damaged file could nest thousands, and every operation on the tree
// recurses, so deeper nodes are left out.
constexpr int kMaxBuildDepth = 200;
int g_build_depth = 0;

struct BuildDepth {
    BuildDepth() { ++g_build_depth; }
    ~BuildDepth() { --g_build_depth; }
};

// The transparent key of cached images: parts where nothing was drawn.
constexpr Color kCacheKey{255, 0, 255, 255};

}  // namespace

Element::Element() { ++g_live_elements; }

Element::~Element() {
    // Normally a child leaves its parent through take_child before it goes;
    // one destroyed in place still leaves through remove_child, so the
    // parent's lists stay in step.
    if (parent_) {
        size_t index = parent_->index_of(this);
        if (index < parent_->children_.size()) parent_->remove_child(this, index);
    }
    for (auto& child : children_) child->parent_ = nullptr;
    children_.clear();
    --g_live_elements;
}

int64_t Element::live_count() { return g_live_elements; }

// ---- Virtual operations ----

void Element::remove_child(Element* child, size_t index) {
    if (index >= children_.size() || children_[index].get() != child) index = index_of(child);
    if (index >= children_.size()) return;
    if (captured_ == child) captured_ = nullptr;
    invalidate_layout();
    // The caller owns the child from here on.
    (void)children_[index].release();
    children_.erase(children_.begin() + static_cast<ptrdiff_t>(index));
    child->parent_ = nullptr;
}

void Element::insert_child(std::unique_ptr<Element> child, size_t index, Properties&, SkinNode,
                           std::u16string_view) {
    if (!child) return;
    if (index > children_.size()) index = children_.size();
    Element& c = *child;
    c.parent_ = this;
    derive_child_flags(c);
    children_.insert(children_.begin() + static_cast<ptrdiff_t>(index), std::move(child));
    // Always, even when this element is dirty already: its ranges may have
    // been measured since (between setting x and y).
    invalidate_layout();
}

void Element::child_changed() {}

void Element::dump(int depth) const {
    auto& out = log();
    for (int i = 0; i < depth; ++i) out << u"\t";
    const Point p = position();
    const Size s = size();
    const Size cache = cache_.size();
    out << u"{" << id_ << u"} position=" << p.x << u" " << p.y << u" size=" << s.width << u" "
        << s.height << u" design_size=" << design_size_.x << u" " << design_size_.y << u" rs.size="
        << cache.width << u" " << cache.height << u"\n";
    for (const auto& child : children_) child->dump(depth + 1);
}

void Element::set_text(std::u16string_view id, std::u16string_view text) {
    for (const auto& child : children_) child->set_text(id, text);
}

void Element::load_from_node(Properties& properties, SkinNode node) {
    using skin_format::AttributeKind;
    id_ = properties.string(node, u"id");
    rule_x_.mode = layout_mode_from_name(properties.string(node, u"anchor_x"));
    rule_y_.mode = layout_mode_from_name(properties.string(node, u"anchor_y"));
    // A node without points keeps the placement it had (a reload from a node
    // that only changes, say, a colour).
    if (properties.has_any(node, AttributeKind::point)) {
        const Point border_min = properties.point(node, u"border_min");
        const Point border_max = properties.point(node, u"border_max");
        design_size_ = properties.point(node, u"design_size");
        rule_x_.border_min = border_min.x;
        rule_y_.border_min = border_min.y;
        rule_x_.border_max = border_max.x;
        rule_y_.border_max = border_max.y;
    }
    if (properties.has_any(node, AttributeKind::integer) ||
        properties.has_any(node, AttributeKind::font)) {
        cache_flag_ = properties.integer(node, u"cache", 0) != 0;
        if (cache_flag_) {
            const int32_t alpha = properties.integer(node, u"cache_alpha", -1);
            cache_op_ = alpha == -1 ? pixel_ops::copy().clone() : pixel_ops::make_shade(alpha);
        }
    }
    const size_t count = properties.child_count(node);
    for (size_t i = 0; i < count; ++i) build_child(properties, properties.child(node, i));
    const std::u16string animation = properties.string(node, u"visibility_animation");
    if (!animation.empty()) set_visibility_animation(VisibilityAnimation::create(animation));
}

void Element::enabled_changed(bool) {
    const bool enabled = effectively_enabled();
    for (const auto& child : children_) {
        const bool before = child->effectively_enabled();
        child->parent_enabled_ = enabled;
        // A button deeper down must hear of it too, to show its disabled look.
        if (child->effectively_enabled() != before)
            child->enabled_changed(child->effectively_enabled());
    }
    mark_redraw();
}

void Element::visibility_changed(bool visible) {
    for (const auto& child : children_) {
        const bool before = child->effectively_visible();
        child->parent_visible_ = visible;
        if (child->effectively_visible() != before)
            child->visibility_changed(child->effectively_visible());
    }
    mark_redraw();
    if (visible) return;
    cache_.recreate({0, 0});
    if (captured_) {
        Element* child = captured_;
        captured_ = nullptr;
        PointerEvent cancel;
        cancel.cancelled = true;
        child->pointer_button(cancel);
    }
}

void Element::time_step(double seconds) {
    if (animation_ && animation_->running()) {
        animation_->advance(seconds);
        mark_redraw();
        return;
    }
    for (const auto& child : children_) child->time_step(seconds);
}

void Element::draw_content(RenderSurface& surface, Point position) {
    const Point origin = this->position();
    for (const auto& child : children_) child->draw(surface, position + child->position() - origin);
}

void Element::arrange_x() { arrange_axis(true); }
void Element::arrange_y() { arrange_axis(false); }
void Element::measure_x(SizeRange& range) { measure_axis(range, true); }
void Element::measure_y(SizeRange& range) { measure_axis(range, false); }

bool Element::hit_test(Point point) const {
    const Point p = position();
    const Size s = size();
    return int64_t{p.x} <= point.x && point.x < int64_t{p.x} + s.width && int64_t{p.y} <= point.y &&
           point.y < int64_t{p.y} + s.height;
}

void Element::pointer_move(const PointerEvent& event) {
    if (captured_) captured_->pointer_move(event);
}

bool Element::pointer_button(const PointerEvent& event) {
    if (captured_) {
        Element* child = captured_;
        if (!event.pressed || event.cancelled) captured_ = nullptr;
        child->pointer_button(event);
        return true;
    }
    const Point point{event.x, event.y};
    for (size_t i = children_.size(); i-- > 0;) {
        Element* child = children_[i].get();
        if (!child->hit_test(point) || !child->effectively_visible() ||
            !child->effectively_enabled())
            continue;
        if (!child->pointer_button(event)) continue;
        // The handler may have removed children; keep the capture only on one
        // that is still ours.
        if (event.pressed && index_of(child) < children_.size()) captured_ = child;
        return true;
    }
    return false;
}

bool Element::key(const KeyEvent&) { return false; }
bool Element::character(std::u16string_view) { return false; }

// ---- Tree ----

Element* Element::root() {
    Element* e = this;
    while (e->parent_) e = e->parent_;
    return e;
}

size_t Element::index_of(const Element* child) const {
    for (size_t i = 0; i < children_.size(); ++i)
        if (children_[i].get() == child) return i;
    return children_.size();
}

void Element::add_child(std::unique_ptr<Element> child, Properties& properties) {
    insert_child(std::move(child), children_.size(), properties, SkinNode{}, u"");
}

std::unique_ptr<Element> Element::take_child(size_t i) {
    if (i >= children_.size()) return nullptr;
    Element* child = children_[i].get();
    remove_child(child, i);
    // A kind's remove_child that failed to call the base one leaves the child
    // in the list; it stays there rather than being owned twice.
    if (index_of(child) < children_.size()) return nullptr;
    child->parent_ = nullptr;
    return std::unique_ptr<Element>(child);
}

void Element::destroy_children() {
    while (!children_.empty()) {
        std::unique_ptr<Element> child = take_child(children_.size() - 1);
        if (!child) break;
    }
}

bool Element::load_from_skin(Properties& properties, std::u16string_view node_name) {
    const std::optional<SkinNode> node = properties.find_node(node_name);
    if (!node) return false;
    destroy_children();
    load_from_node(properties, *node);
    invalidate_layout();
    mark_redraw();
    return true;
}

Element* Element::find_element(std::u16string_view id) const {
    for (const auto& child : children_)
        if (child->id_ == id) return child.get();
    for (const auto& child : children_)
        if (Element* found = child->find_element(id)) return found;
    return nullptr;
}

void Element::build_child(Properties& properties, SkinNode child_node) {
    if (g_build_depth >= kMaxBuildDepth) {
        log() << "Error: Element::load_from_node skin nodes nested too deep, left out\n";
        return;
    }
    const std::u16string kind = properties.string(child_node, u"type");
    std::unique_ptr<Element> child = ElementFactory::create(kind);
    {
        BuildDepth depth;
        child->load_from_node(properties, child_node);
    }
    insert_child(std::move(child), children_.size(), properties, child_node, kind);
}

void Element::derive_child_flags(Element& child) const {
    child.parent_enabled_ = effectively_enabled();
    child.parent_visible_ = effectively_visible();
}

// ---- Visibility, redraw ----

void Element::set_visible(bool visible) {
    if (visible == visible_) return;
    const bool before = effectively_visible();
    visible_ = visible;
    if (effectively_visible() != before) visibility_changed(effectively_visible());
    mark_redraw();
    if (parent_) parent_->child_changed();
}

void Element::set_enabled(bool enabled) {
    if (enabled == enabled_) return;
    const bool before = effectively_enabled();
    enabled_ = enabled;
    if (effectively_enabled() != before) enabled_changed(effectively_enabled());
    mark_redraw();
}

void Element::show_or_hide_animated(bool visible) {
    if (visible == visible_) return;
    if (visible) set_visible(true);
    if (animation_) {
        if (!animation_->running()) {
            // Bring the layout up to date so the image has the element's
            // final rectangle.
            Element* top = root();
            top->set_x_extent(top->position().x, top->size().width);
            top->set_y_extent(top->position().y, top->size().height);
            if (cache_op_) animation_->set_draw_op(cache_op_->clone());
            update_cache();
            animation_->start(nullptr, nullptr, visible ? 1 : -1, &cache_, cache_op_.get());
            mark_redraw();
        } else {
            animation_->reverse();
        }
    }
    if (!visible) set_visible(false);
}

void Element::mark_redraw() {
    for (Element* e = this; e; e = e->parent_) e->redraw_ = true;
}

// ---- Drawing ----

void Element::draw(RenderSurface& surface, Point position) {
    if (animation_ && animation_->running()) {
        animation_->draw(surface, position);
        return;
    }
    if (!visible_) return;
    if (cache_flag_) {
        update_cache();
        cache_.draw_onto(surface, position, cache_op_ ? *cache_op_ : pixel_ops::copy());
    } else {
        draw_content(surface, position);
    }
    redraw_ = false;
}

void Element::update_cache() {
    // A cache handed to an animation, or one of another size, is stale too.
    if (cache_flag_ && !redraw_ && cache_.size() == size()) return;
    cache_.recreate(size());
    cache_.fill({0, 0}, cache_.size(), kCacheKey);
    draw_content(cache_, {0, 0});
}

void Element::set_cache(bool on, int32_t alpha) {
    cache_flag_ = on;
    cache_op_ = alpha == -1 ? pixel_ops::copy().clone() : pixel_ops::make_shade(alpha);
    mark_redraw();
}

void Element::set_visibility_animation(std::unique_ptr<VisibilityAnimation> animation) {
    animation_ = std::move(animation);
}

// ---- Layout ----

Rect Element::rect() const {
    const Point p = position();
    const Size s = size();
    return {p.x, p.y, p.x + s.width, p.y + s.height};
}

void Element::set_rule_x(const AxisRule& rule) {
    rule_x_ = rule;
    invalidate_layout();
}

void Element::set_rule_y(const AxisRule& rule) {
    rule_y_ = rule;
    invalidate_layout();
}

void Element::set_design_size(Point size) {
    design_size_ = size;
    invalidate_layout();
}

SizeRange Element::range_x() {
    return layout_.range_x([this](SizeRange& range) { measure_x(range); });
}

SizeRange Element::range_y() {
    return layout_.range_y([this](SizeRange& range) { measure_y(range); });
}

void Element::set_x_extent(int32_t x, int32_t width) {
    if (!layout_.set_x_extent(x, width)) return;
    redraw_ = true;
    if (observer_) observer_->width_changed(*this, width);
    arrange_x();
}

void Element::set_y_extent(int32_t y, int32_t height) {
    if (!layout_.set_y_extent(y, height)) return;
    redraw_ = true;
    if (observer_) observer_->height_changed(*this, height);
    arrange_y();
}

void Element::invalidate_layout() {
    for (Element* e = this; e; e = e->parent_) e->layout_.invalidate();
}

void Element::measure_axis(SizeRange& range, bool x_axis) {
    Layout::add_design_size(range, x_axis ? design_size_.x : design_size_.y);
    for (const auto& child : children_)
        Layout::add_child(range, x_axis ? child->rule_x_ : child->rule_y_,
                          x_axis ? child->range_x() : child->range_y());
}

void Element::arrange_axis(bool x_axis) {
    const AxisSpan own = x_axis ? layout_.x() : layout_.y();
    for (const auto& child : children_) {
        if (x_axis) {
            const AxisSpan span = Layout::place_at(child->rule_x_, own, child->range_x().preferred);
            child->set_x_extent(span.position, span.extent);
        } else {
            const AxisSpan span = Layout::place_at(child->rule_y_, own, child->range_y().preferred);
            child->set_y_extent(span.position, span.extent);
        }
    }
}
