#pragma once
// "richtext": message text with smileys and links. The text is scanned
// (RichScanner) into plain runs, link runs and smileys; smileys become
// animated SmileyElements, and the runs are cut into lines at layout time
// into RichTextPiece elements, which are reused from one layout to the next.
//
// Attributes: "grow" (the element is as wide as its content on one line and
// as high as its lines), "wrap" (lines wrap at the element's width; line
// feeds remain), "font", "color", "link_font" and "link_color" (a link's
// pressed font and its colour; the normal font and colour when missing),
// "halign" (LEFT, CENTER, RIGHT or JUSTIFY; CENTER otherwise), "valign"
// (TOP, VCENTER, BOTTOM; TOP otherwise) and "text", scanned with the
// process's SmileyTable when there is one.
//
// Layout: items follow one another on a line; a new line starts at a line
// feed (with "wrap"), and when a smiley or a word would pass the right edge.
// Lines are aligned horizontally (JUSTIFY spreads the words of every line
// but the last over the width) and stacked from the top, centred or from the
// bottom; each item sits in its line by its y mode (CENTER: centred,
// MAX_SIDE: at the bottom, BOTH_SIDE: stretched, else at the top).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "draw/Color.h"
#include "draw/text/FontRep.h"
#include "skin/elements/Element.h"

class LinkListener;
class RichTextPiece;
class SmileyTable;

class RichTextElement : public Element {
public:
    std::u16string_view kind_name() const override { return u"richtext"; }
    enum HAlign : int32_t { LEFT = 0, CENTER = 1, RIGHT = 2, JUSTIFY = 3 };
    enum VAlign : int32_t { TOP = 0, VCENTER = 1, BOTTOM = 2 };

    RichTextElement();
    ~RichTextElement() override;

    // Replaces the content with text scanned against table (null: no
    // smileys): plain runs in font and text_color, links and phone numbers
    // in font and link_color with link_font while pressed, telling listener
    // (not owned; null: the tap is only logged). A smiley whose picture is
    // missing shows nothing, not even its code. Null fonts take the
    // element's font.
    void set_text(std::u16string_view text, const SmileyTable* table,
                  std::shared_ptr<const FontRep> font, std::shared_ptr<const FontRep> link_font,
                  Color text_color, Color link_color, LinkListener* listener);
    // Appends one plain run (pressed_font unused for plain text but kept with
    // the run).
    void add_text(std::u16string_view text, std::shared_ptr<const FontRep> font,
                  std::shared_ptr<const FontRep> pressed_font, Color color);
    // Removes all content.
    void clear();

    // The text given to the last set_text, for scripts and tools.
    const std::u16string* shown_text() const override { return &text_; }

    void set_text(std::u16string_view id, std::u16string_view text) override;
    void load_from_node(Properties& properties, SkinNode node) override;
    void measure_x(SizeRange& range) override;
    void measure_y(SizeRange& range) override;
    void arrange_x() override;
    void arrange_y() override;
    void remove_child(Element* child, size_t index) override;

    // One laid-out line: items [first, end) of placed(), and its width.
    struct Line {
        size_t first = 0;
        size_t end = 0;
        int32_t width = 0;
    };
    const std::vector<Line>& lines() const { return lines_; }
    // The elements in line order, as the last layout placed them.
    const std::vector<Element*>& placed() const { return placed_; }

    int32_t halign() const { return halign_; }
    // The skin's "font" and "color" for plain text.
    const std::shared_ptr<const FontRep>& font() const { return font_; }
    Color color() const { return color_; }
    bool wraps() const { return wrap_; }
    // Without wrapping: a line wider than the element ends in "…".
    void set_ellipsis(bool ellipsis);
    void set_wrap(bool wrap);
    void set_halign(int32_t halign);
    void set_valign(int32_t valign);

    // Called by the pieces of link group: shows the group pressed or not.
    void press_group(int32_t group, bool pressed);
    // Called by a piece of link group when tapped.
    void link_tapped(int32_t group, RichTextPiece& piece);

private:
    struct Run {
        std::u16string text;
        std::shared_ptr<const FontRep> font;
        std::shared_ptr<const FontRep> pressed_font;
        Color color;
        bool link = false;
        std::vector<int32_t> extents;  // cumulative widths, measured once
    };
    // A content item: a child element (a smiley) or a run of text.
    struct Item {
        Element* child = nullptr;
        Run run;
    };
    // Where one item or piece of a run goes.
    struct Slot {
        size_t item = 0;
        int32_t start = 0;   // within the run's text
        int32_t length = 0;  // 0 for a child
        int32_t width = 0;   // including a child's x borders
        bool cut = false;    // the last piece of a line that ends in "…"
    };
    struct Plan {
        std::vector<Slot> slots;
        std::vector<Line> lines;
        int32_t width = -1;  // the width it was made for, -1: none
    };

    void add_run(Run run);
    void content_changed();
    // The line breaking for width, made again only when it changed.
    const Plan& plan_for(int32_t width);
    void cut_line(int32_t width, int32_t& line_width);
    int32_t child_width(Element& child);
    int32_t child_height(Element& child);
    std::vector<int32_t> line_heights();
    // Moves the pieces and children to the plan, reusing pieces.
    void apply_plan();

    std::vector<Item> items_;
    std::vector<RichTextPiece*> pieces_;
    std::vector<Element*> placed_;
    std::vector<Line> lines_;
    Plan plan_;
    bool applying_ = false;

    std::u16string text_;
    std::shared_ptr<const FontRep> font_;
    std::shared_ptr<const FontRep> link_font_;
    Color color_{0, 0, 0, 255};
    Color link_color_{0, 0, 0, 255};
    LinkListener* listener_ = nullptr;
    int32_t halign_ = CENTER;
    int32_t valign_ = TOP;
    int32_t scale_shift_ = 0;  // the skin's, for the smileys
    bool grow_ = false;
    bool wrap_ = false;
    // One line that does not fit ends in "…" instead of being cut anywhere
    // (only without wrapping).
    bool ellipsis_ = false;
};
