#pragma once
// "text": a text (a language key, translated at load) drawn in the element's
// rectangle with its font, colour and alignments, optionally wrapped and cut
// with an ellipsis. With "grow" the element is at least as wide as the text on
// one line and as high as its wrapped lines ("grow_min": the minimum too), and
// a new text re-runs layout; otherwise a new text only redraws.
// Children are laid out but not drawn.
//
// A one-line text may have a highlight: a range of it drawn in another colour
// (the part of a name that matches what the user typed). Wrapped text, and
// text with line breaks, is drawn in its one colour.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "draw/Color.h"
#include "draw/text/FontRep.h"
#include "draw/text/TextLayout.h"
#include "skin/elements/Element.h"

class TextElement : public Element {
public:
    std::u16string_view kind_name() const override { return u"text"; }
    enum HAlign : int32_t { LEFT = 0, CENTER = 1, RIGHT = 2, JUSTIFY = 3 };
    enum VAlign : int32_t { TOP = 0, VCENTER = 1, BOTTOM = 2 };

    // The units [start, start + length) of the text, drawn in color; a
    // range past the end of the text is cut at its end.
    struct Highlight {
        size_t start = 0;
        size_t length = 0;
        Color color{0, 0, 0, 255};

        friend bool operator==(const Highlight&, const Highlight&) = default;
    };

    TextElement();
    ~TextElement() override;

    void set_text(std::u16string_view id, std::u16string_view text) override;
    void load_from_node(Properties& properties, SkinNode node) override;
    void draw_content(RenderSurface& surface, Point position) override;
    void measure_x(SizeRange& range) override;
    void measure_y(SizeRange& range) override;

    // Each does nothing when the value is unchanged.
    virtual void set_text(std::u16string_view text);
    virtual void set_color(Color color);
    virtual void set_font(std::shared_ptr<const FontRep> font);
    // With an ellipsis, text wider than the element ends in "…".
    void set_ellipsis(bool ellipsis);
    void set_halign(int32_t halign);
    // Kept across text changes; a length of 0 removes it.
    void set_highlight(const Highlight& highlight);
    const Highlight& highlight() const { return highlight_; }

    const std::u16string& text() const { return layout_.text(); }
    const std::u16string* shown_text() const override { return &text(); }
    const std::shared_ptr<const FontRep>& font() const { return font_; }
    Color color() const { return color_; }
    int32_t halign() const { return halign_; }
    int32_t valign() const { return valign_; }
    bool grows() const { return grow_; }
    bool wraps() const { return wrap_; }
    const TextLayout& layout() const { return layout_; }

    // Text elements alive in this process.
    static int64_t live_count();

private:
    // The text, font or width changed: drop the lines and the measure, then
    // re-run layout (grow) or redraw.
    void content_changed();
    // The whole text's width on one line and the line height.
    Size measure_text();
    // Draws a one-line text in three runs, the highlight in its colour.
    // False, drawing nothing, where the highlight does not apply.
    bool draw_highlighted(RenderSurface& surface, Point position);

    TextLayout layout_;
    Highlight highlight_;
    std::shared_ptr<const FontRep> font_;
    Color color_{0, 0, 0, 255};
    int32_t halign_ = CENTER;
    int32_t valign_ = VCENTER;
    bool grow_ = false;
    bool grow_min_ = false;
    bool wrap_ = false;
    bool ellipsis_ = false;
};
