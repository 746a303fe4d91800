#pragma once
// One thing on screen, and the kind "node": a plain container. Everything the
// program shows is a tree of elements built from a named skin node. An element
// owns its children, keeps its rectangle in absolute screen pixels, takes part
// in layout (measure bottom-up, arrange top-down, x before y), draws itself and
// its children (optionally through a cached image), shows and hides itself
// (optionally animated) and routes pointer input to the child under the
// stylus.
//
// The other kinds derive from Element and override some of the virtual
// operations; they always load the base attributes first.
//
// Redraw and layout marks propagate up the parent chain, so the root knows
// whether anything below it needs drawing or arranging.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "draw/PixelOp.h"
#include "draw/Point.h"
#include "draw/Rect.h"
#include "draw/RenderSurface.h"
#include "draw/Size.h"
#include "input/KeyEvent.h"
#include "input/PointerEvent.h"
#include "skin/file/SkinNode.h"
#include "skin/layout/AxisRule.h"
#include "skin/layout/LayoutState.h"
#include "skin/layout/SizeRange.h"

class LayoutObserver;
class Properties;
class VisibilityAnimation;

class Element {
public:
    // A new element: visible, enabled, needing redraw and layout, no children,
    // no parent, no cache.
    Element();
    // Leaves the parent first (through its remove_child), then destroys the
    // children.
    virtual ~Element();
    Element(const Element&) = delete;
    Element& operator=(const Element&) = delete;

    // ---- Virtual operations, overridden by the kinds ----

    // Erases child (at index) from the list without destroying it: the caller
    // owns it from then on. Forgets the pointer capture if child held it and
    // invalidates layout up the chain.
    virtual void remove_child(Element* child, size_t index);
    // Makes child this element's child at index (index <= child_count()): sets
    // its parent and its parent-visible and parent-enabled flags, and marks
    // layout dirty up the chain. child_node and kind are those it was built
    // from (an invalid node and "" for children made by code).
    virtual void insert_child(std::unique_ptr<Element> child, size_t index, Properties& properties,
                              SkinNode child_node, std::u16string_view kind);
    // Called by a child whose visibility changed. Nothing by default.
    virtual void child_changed();
    // Logs this element and, one tab deeper, its children.
    virtual void dump(int depth) const;
    // Broadcast through the subtree: elements with text take it when id is
    // their own.
    virtual void set_text(std::u16string_view id, std::u16string_view text);
    // Reads the attributes of node and builds the children from its child
    // nodes. Kinds call this first, then read their own. Throws
    // NodeNotRegistered for a child whose "type" is not a registered kind; the
    // children built before it stay.
    virtual void load_from_node(Properties& properties, SkinNode node);
    virtual void enabled_changed(bool enabled);
    // Called when the effective visibility (own and parent's) changed.
    virtual void visibility_changed(bool visible);
    // Advances animations by seconds: the visibility animation while it runs
    // (and then nothing below), otherwise every child.
    virtual void time_step(double seconds);
    // Draws this element's look at position (which may differ from
    // position(): a cache or animation image is drawn at (0, 0)). By default
    // every child, translated by the same amount.
    virtual void draw_content(RenderSurface& surface, Point position);
    // Give every child its position and extent along one axis.
    virtual void arrange_x();
    virtual void arrange_y();
    // Add this element's wishes to range (callers pass (0, 0)).
    virtual void measure_x(SizeRange& range);
    virtual void measure_y(SizeRange& range);
    // Whether point lies in the element's rectangle.
    virtual bool hit_test(Point point) const;
    // Passed to the child holding the pointer capture, if any.
    virtual void pointer_move(const PointerEvent& event);
    // Routes a press to the topmost visible, enabled child under the point
    // that takes it, which then holds the capture until the release or a
    // cancel. Returns whether someone handled it.
    virtual bool pointer_button(const PointerEvent& event);
    virtual bool key(const KeyEvent& event);
    virtual bool character(std::u16string_view text);
    // The kind's name as skins write it in "type" ("node" here).
    virtual std::u16string_view kind_name() const { return u"node"; }
    // The text the element shows, for kinds that show one (text, button,
    // edit, rich text); null for the others. Scripted runs and tools read it.
    virtual const std::u16string* shown_text() const { return nullptr; }

    // ---- Tree ----

    Element* parent() const { return parent_; }
    Element* root();
    size_t child_count() const { return children_.size(); }
    Element* child(size_t i) const { return children_[i].get(); }
    // The index of child in the list, or child_count() when it is not a child.
    size_t index_of(const Element* child) const;
    // insert_child at the end, for trees made by code.
    void add_child(std::unique_ptr<Element> child, Properties& properties);
    // Takes child i out of the tree (through remove_child) and hands it over.
    std::unique_ptr<Element> take_child(size_t i);
    // Destroys every child, last first; each leaves through remove_child, so
    // the kinds' per-child lists stay in step.
    void destroy_children();

    // Finds node_name in the skin, destroys the children, loads this element
    // again from that node and invalidates layout up the chain. False (and
    // nothing changed) when the skin has no such node.
    bool load_from_skin(Properties& properties, std::u16string_view node_name);
    // The element with that id below this one: the direct children first, in
    // order, then each child's subtree in order. Null when there is none.
    Element* find_element(std::u16string_view id) const;

    // ---- Visibility, enablement, redraw ----

    const std::u16string& id() const { return id_; }
    void set_id(std::u16string id) { id_ = std::move(id); }

    bool visible() const { return visible_; }
    bool effectively_visible() const { return visible_ && parent_visible_; }
    bool effectively_enabled() const { return enabled_ && parent_enabled_; }
    bool enabled() const { return enabled_; }
    // Changes the own enabled flag; the subtree hears of a change of its
    // effective enablement (enabled_changed) and is redrawn.
    void set_enabled(bool enabled);
    // Changes the own visible flag; marks redraw up the chain and tells the
    // parent (child_changed).
    void set_visible(bool visible);
    // As set_visible, but plays the visibility animation if there is one. A
    // hide during a show (or the reverse) plays back from where it is.
    void show_or_hide_animated(bool visible);

    // Sets the redraw flag here and on every ancestor.
    void mark_redraw();
    bool needs_redraw() const { return redraw_; }

    // ---- Drawing ----

    // Draws at position: the animation while it runs (even when hidden), else
    // nothing when hidden, else the cached image or draw_content.
    void draw(RenderSurface& surface, Point position);
    // Draws the element at its own position.
    void draw(RenderSurface& surface) { draw(surface, position()); }
    // Brings the cache surface up to date: when the cache flag is clear or the
    // element needs redraw, recreates it at the element's size, fills it with
    // the key colour (magenta, 0xF81F) and draws the content into it at (0, 0).
    void update_cache();
    RenderSurface& cache_surface() { return cache_; }
    bool cached() const { return cache_flag_; }
    // Turns the cache on or off: alpha -1 blits it with the copy op, any other
    // value with the shade op of that level.
    void set_cache(bool on, int32_t alpha = -1);
    // The op the cache is drawn with, or null when none was chosen.
    const PixelOp* cache_op() const { return cache_op_.get(); }

    VisibilityAnimation* visibility_animation() const { return animation_.get(); }
    void set_visibility_animation(std::unique_ptr<VisibilityAnimation> animation);

    // ---- Layout ----

    Point position() const { return {layout_.x().position, layout_.y().position}; }
    Size size() const { return {layout_.x().extent, layout_.y().extent}; }
    Rect rect() const;

    const AxisRule& rule_x() const { return rule_x_; }
    const AxisRule& rule_y() const { return rule_y_; }
    void set_rule_x(const AxisRule& rule);
    void set_rule_y(const AxisRule& rule);
    Point design_size() const { return design_size_; }
    void set_design_size(Point size);

    // The cached measure; measured when invalid.
    SizeRange range_x();
    SizeRange range_y();
    // Sets the position and extent along the axis and arranges the children;
    // costs one comparison when nothing changed and the element is clean.
    // Always set x before y: only setting y clears the layout-dirty flag.
    void set_x_extent(int32_t x, int32_t width);
    void set_y_extent(int32_t y, int32_t height);
    // Drops the measures and sets layout dirty here and on every ancestor.
    void invalidate_layout();
    bool layout_dirty() const { return layout_.dirty(); }
    void set_layout_observer(LayoutObserver* observer) { observer_ = observer; }

    // Elements alive in this process.
    static int64_t live_count();

protected:
    // The child holding the pointer capture, or null.
    Element* captured() const { return captured_; }

    // The default container's measure and arrange along one axis, for kinds
    // that handle one axis themselves and leave the other to the default.
    void measure_axis(SizeRange& range, bool x_axis);
    void arrange_axis(bool x_axis);

private:
    // The default load_from_node's child step: builds one child node.
    void build_child(Properties& properties, SkinNode child_node);
    void derive_child_flags(Element& child) const;

    std::unique_ptr<VisibilityAnimation> animation_;
    std::u16string id_;
    Element* parent_ = nullptr;
    LayoutObserver* observer_ = nullptr;

    AxisRule rule_x_;
    AxisRule rule_y_;
    Point design_size_;
    LayoutState layout_;

    bool visible_ = true;
    bool parent_visible_ = true;
    bool enabled_ = true;
    bool parent_enabled_ = true;
    bool redraw_ = true;

    Element* captured_ = nullptr;

    RenderSurface cache_;
    bool cache_flag_ = false;
    std::unique_ptr<PixelOp> cache_op_;

    std::vector<std::unique_ptr<Element>> children_;
};
