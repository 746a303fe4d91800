#include "skin/elements/MultinodeElement.h"

#include <algorithm>
#include <charconv>
#include <string>

#include "skin/Properties.h"

MultinodeElement::MultinodeElement() = default;

MultinodeElement::~MultinodeElement() {
    // The pages outlive this part of the object (the base destroys them), so
    // they must not keep calling the embedded listener.
    for (Page& page : pages_)
        if (page.button != nullptr && page.button->listener() == &page_buttons_)
            page.button->set_listener(nullptr);
}

std::optional<double> MultinodeElement::parse_delay(std::u16string_view text) {
    // Digits with at most one decimal point, read the same in every locale.
    // Signs, exponents, spaces and anything else make it no number.
    std::string ascii;
    bool digit = false;
    bool point = false;
    for (char16_t c : text) {
        if (c >= u'0' && c <= u'9') {
            digit = true;
        } else if (c == u'.' && !point) {
            point = true;
        } else {
            return std::nullopt;
        }
        ascii.push_back(static_cast<char>(c));
    }
    if (!digit) return std::nullopt;
    double value = 0;
    auto [end, error] =
        std::from_chars(ascii.data(), ascii.data() + ascii.size(), value, std::chars_format::fixed);
    if (error != std::errc() || end != ascii.data() + ascii.size()) return std::nullopt;
    return value;
}

void MultinodeElement::load_from_node(Properties& properties, SkinNode node) {
    Element::load_from_node(properties, node);
    text_ = properties.translate(properties.string(node, u"text"));
    default_delay_ = parse_delay(properties.string(node, u"delay")).value_or(1.0);
    movie_ = properties.integer(node, u"movie", 0) != 0;
    for (Page& page : pages_)
        if (page.button != nullptr) page.button->set_button_text(text_);
}

void MultinodeElement::insert_child(std::unique_ptr<Element> child, size_t index,
                                    Properties& properties, SkinNode child_node,
                                    std::u16string_view kind) {
    index = std::min(index, pages_.size());
    bool first = pages_.empty();
    if (!first) child->set_visible(false);
    Page page;
    page.delay = parse_delay(properties.string(child_node, u"delay")).value_or(-1);
    if (kind == u"button") {
        page.button = dynamic_cast<ButtonElement*>(child.get());
        if (page.button != nullptr) page.button->set_listener(&page_buttons_);
    }
    pages_.insert(pages_.begin() + static_cast<std::ptrdiff_t>(index), page);
    // A page put in front of the current one moves it one on; the shown page
    // stays the current one.
    if (!first && index <= current_) ++current_;
    Element::insert_child(std::move(child), index, properties, child_node, kind);
}

void MultinodeElement::remove_child(Element* child, size_t index) {
    // The base finds a child passed with a wrong index by itself; follow it.
    if (index >= child_count() || this->child(index) != child) index = index_of(child);
    if (index < pages_.size()) {
        pages_.erase(pages_.begin() + static_cast<std::ptrdiff_t>(index));
        // A page taken out of the tree lives on with its new owner and must
        // not call back here. A page being destroyed is no button any more
        // by now, and the cast finds none.
        auto* button = dynamic_cast<ButtonElement*>(child);
        if (button != nullptr && button->listener() == &page_buttons_)
            button->set_listener(nullptr);
        // The current index counts the pages that remain: one before it going
        // moves it back, and removing the last page, when current, wraps to 0.
        if (index < current_) --current_;
        current_ = pages_.empty() ? 0 : current_ % pages_.size();
    }
    Element::remove_child(child, index);
    show_only_current();
}

void MultinodeElement::show_only_current() {
    for (size_t i = 0; i < child_count(); ++i) child(i)->set_visible(i == current_);
}

void MultinodeElement::select(size_t index, int32_t flag) {
    if (index == current_ || index >= child_count()) return;
    current_ = index;
    show_only_current();
    if (listener_ != nullptr) listener_->page_changed(*this, flag);
}

void MultinodeElement::next(int32_t flag) {
    size_t n = child_count();
    if (n == 0) return;
    select((current_ + 1) % n, flag);
}

void MultinodeElement::time_step(double seconds) {
    Element::time_step(seconds);
    if (!movie_ || !effectively_visible() || child_count() == 0 || current_ >= pages_.size())
        return;
    elapsed_ += seconds;
    double delay = pages_[current_].delay;
    if (delay == -1) delay = default_delay_;
    if (elapsed_ >= delay) {
        elapsed_ -= delay;
        next(0);
    }
}

void MultinodeElement::PageButtons::clicked(ButtonElement& button, const Click& info) {
    MultinodeElement& m = owner_;
    if (m.current_ >= m.pages_.size() || m.pages_[m.current_].button != &button) return;
    if (m.listener_ != nullptr)
        m.listener_->page_clicked(m, info);
    else
        m.next(1);
}

void MultinodeElement::PageButtons::state_changed(ButtonElement&, const StateChange& info) {
    if (owner_.listener_ != nullptr) owner_.listener_->state_changed(owner_, info);
}

void MultinodeElement::PageButtons::dragged(ButtonElement&, Drag&) {}
