#pragma once
// "multinode": shows one child at a time (the pages). With "movie" it turns to
// the next page by itself while visible, after each page's own "delay" or the
// node's "delay" (decimal seconds, default 1), wrapping to the first. Pages
// that are buttons show the node's "text" and turn the page when clicked
// (unless a listener takes the click).
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "skin/elements/ButtonElement.h"
#include "skin/elements/ButtonListener.h"
#include "skin/elements/Element.h"
#include "skin/elements/MultinodeListener.h"

class MultinodeElement : public Element {
public:
    std::u16string_view kind_name() const override { return u"multinode"; }
    MultinodeElement();
    ~MultinodeElement() override;

    void remove_child(Element* child, size_t index) override;
    void insert_child(std::unique_ptr<Element> child, size_t index, Properties& properties,
                      SkinNode child_node, std::u16string_view kind) override;
    void load_from_node(Properties& properties, SkinNode node) override;
    void time_step(double seconds) override;

    // Shows page index alone and tells the listener; nothing when it is the
    // current page already.
    void select(size_t index, int32_t flag);
    // The page after the current one, wrapping; nothing without pages.
    void next(int32_t flag);
    size_t current() const { return current_; }

    void set_listener(MultinodeListener* listener) { listener_ = listener; }
    double default_delay() const { return default_delay_; }
    // The page's own delay, or -1 when it uses the default.
    double delay_of(size_t index) const { return pages_[index].delay; }
    bool movie() const { return movie_; }
    void set_movie(bool movie) { movie_ = movie; }
    const std::u16string& text() const { return text_; }

    // A decimal number of seconds ("0.5", "2"), or nothing.
    static std::optional<double> parse_delay(std::u16string_view text);

private:
    struct Page {
        ButtonElement* button = nullptr;
        double delay = -1;
    };
    // Installed on every page that is a button.
    class PageButtons : public ButtonListener {
    public:
        explicit PageButtons(MultinodeElement& owner) : owner_(owner) {}
        void clicked(ButtonElement& button, const Click& info) override;
        void state_changed(ButtonElement& button, const StateChange& info) override;
        void dragged(ButtonElement& button, Drag& info) override;

    private:
        MultinodeElement& owner_;
    };

    void show_only_current();

    size_t current_ = 0;
    std::vector<Page> pages_;
    double default_delay_ = 1.0;
    bool movie_ = false;
    double elapsed_ = 0;
    std::u16string text_;
    MultinodeListener* listener_ = nullptr;
    PageButtons page_buttons_{*this};
};
