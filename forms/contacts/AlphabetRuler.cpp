#include "forms/contacts/AlphabetRuler.h"

#include <algorithm>

#include "platform/Log.h"
#include "skin/elements/ButtonElement.h"
#include "skin/elements/TableElement.h"
#include "skin/elements/TextElement.h"
#include "widgets/list/RowBuilder.h"

AlphabetRuler::~AlphabetRuler() { unbind(); }

void AlphabetRuler::bind(Properties& properties, ButtonElement& button, ButtonElement* button2,
                         TableElement& table) {
    unbind();
    properties_ = &properties;
    button_ = &button;
    button2_ = button2;
    table_ = &table;
    button_->set_listener(this);
    if (button2_) button2_->set_listener(this);
    button_->set_layout_observer(this);

    letter_height_ = 0;
    if (std::unique_ptr<Element> probe = row_builder::build(properties, kLetterNode))
        letter_height_ = probe->range_y().preferred;
    // The table comes from the skin; letters of an earlier binding are gone
    // with the tree they lived in.
    arrange();
}

void AlphabetRuler::unbind() {
    if (button_) button_->set_layout_observer(nullptr);
    button_ = nullptr;
    button2_ = nullptr;
    table_ = nullptr;
    properties_ = nullptr;
}

void AlphabetRuler::set_letters(std::vector<std::u16string> letters) {
    letters_ = std::move(letters);
    arrange();
}

size_t AlphabetRuler::shown_count() const { return table_ ? table_->child_count() : 0; }

size_t AlphabetRuler::element_count(size_t letters, int64_t available, int32_t letter_height) {
    if (letter_height <= 0 || available <= 0) return 0;
    return std::min<size_t>(letters, static_cast<size_t>(available / letter_height));
}

size_t AlphabetRuler::letter_for_element(size_t i, size_t letters, size_t n) {
    if (n == 0) return 0;
    // Counts of letters on screen are small; the product cannot overflow.
    return letters * i / n;
}

std::optional<size_t> AlphabetRuler::letter_at(int32_t y, int32_t table_top, int32_t table_height,
                                               size_t letters) {
    if (letters == 0 || table_height <= 0) return std::nullopt;
    const int64_t index = static_cast<int64_t>(letters) * (int64_t{y} - table_top) / table_height;
    return static_cast<size_t>(std::clamp<int64_t>(index, 0, static_cast<int64_t>(letters) - 1));
}

void AlphabetRuler::arrange() {
    if (!table_ || !button_ || !properties_) return;
    const int64_t available =
        int64_t{button_->size().height} - table_->rule_y().border_min - table_->rule_y().border_max;
    const size_t n = element_count(letters_.size(), available, letter_height_);

    while (table_->child_count() > n) table_->take_child(table_->child_count() - 1);
    while (table_->child_count() < n) {
        std::unique_ptr<Element> letter = row_builder::build(*properties_, kLetterNode);
        if (!letter) break;
        table_->add_child(std::move(letter), *properties_);
    }
    for (size_t i = 0; i < table_->child_count(); ++i)
        if (auto* text = dynamic_cast<TextElement*>(table_->child(i)))
            text->set_text(letters_[letter_for_element(i, letters_.size(), n)]);

    // The letters take their places now, also when the table was arranged
    // before the touch area in this layout pass.
    const Point at = table_->position();
    const Size size = table_->size();
    table_->set_x_extent(at.x, size.width);
    table_->set_y_extent(at.y, size.height);
    table_->mark_redraw();
}

void AlphabetRuler::report(ButtonElement& button, int32_t y, bool cancelled) {
    if (!table_ || table_->child_count() == 0) return;
    const std::optional<size_t> index =
        letter_at(y, table_->position().y, table_->size().height, letters_.size());
    if (!index) return;
    listener_.ruler_letter(*index, letters_[*index], button.active(), cancelled);
}

void AlphabetRuler::clicked(ButtonElement&, const Click&) {}

void AlphabetRuler::state_changed(ButtonElement& button, const StateChange& info) {
    report(button, info.y, info.cancelled);
}

void AlphabetRuler::dragged(ButtonElement& button, Drag& info) { report(button, info.y, false); }

void AlphabetRuler::width_changed(Element&, int32_t) {}

void AlphabetRuler::height_changed(Element&, int32_t) { arrange(); }
