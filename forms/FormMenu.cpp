#include "forms/FormMenu.h"

#include <algorithm>
#include <optional>

#include "forms/FormStack.h"
#include "platform/Log.h"
#include "skin/Properties.h"
#include "skin/elements/TextElement.h"
#include "widgets/list/RowBuilder.h"
#include "widgets/list/VListElement.h"
#include "widgets/menu/MenuProvider.h"

FormMenu::FormMenu(Properties& properties, MenuProvider& provider, std::u16string context,
                   std::u16string form_node, std::u16string row_node)
    : Form(properties),
      provider_(provider),
      context_(std::move(context)),
      form_node_(std::move(form_node)),
      row_node_(std::move(row_node)) {
    FormMenu::load();
}

FormMenu::~FormMenu() {
    close();
    // The rows go with the tree; the list must not ask this adapter for more.
    if (list_) list_->set_adapter(nullptr, 0);
}

void FormMenu::load() {
    bind_or_throw(form_node_);
    panel_ = bind_required<Element>(u"panel");
    panel_design_ = panel_->design_size();
    list_ = bind_required<VListElement>(u"vlist");
    bind_child(caption_, u"caption");
    if (caption_) caption_->set_text(caption_text_);
    list_->set_adapter(this, static_cast<int>(entries_.size()));
}

void FormMenu::open(const std::u16string& key, const std::u16string& caption, bool first) {
    std::u16string caption_text = caption.empty() ? properties().translate(key) : caption;
    std::vector<MenuEntry> entries;
    provider_.fill(context_, key, caption_text, entries);

    auto same_keys = [&] {
        if (entries.size() != entries_.size()) return false;
        for (size_t i = 0; i < entries.size(); ++i)
            if (entries[i].key != entries_[i].key) return false;
        return !entries.empty();
    };
    if (!first && same_keys()) {
        // The same level again (a toggled entry): its rows show the new
        // state where the list stands.
        entries_ = std::move(entries);
        list_->refresh_all_rows();
        return;
    }
    if (entries.empty()) {
        close();
        return;
    }
    caption_text_ = std::move(caption_text);
    if (caption_) caption_->set_text(caption_text_);
    entries_ = std::move(entries);
    list_->set_adapter(this, static_cast<int>(entries_.size()));
    fit_panel();
    if (first) {
        if (FormStack* stack = FormStack::instance()) stack->push(*this, true, true);
    } else {
        invalidate_layout();
        mark_redraw();
    }
    panel_->show_or_hide_animated(true);
}

int32_t FormMenu::row_height(const MenuEntry& entry) const {
    std::u16string node_name = entry.row_node.empty() ? row_node_ : entry.row_node;
    if (!entry.enabled) node_name += u"Disabled";
    std::optional<SkinNode> node = properties().find_node(node_name);
    return node ? properties().point(*node, u"design_size").y : 0;
}

void FormMenu::fit_panel() {
    // Only a panel with a height of its own, holding the list at fixed
    // distances from its edges, can follow the rows.
    if (panel_design_.y <= 0 || list_->parent() != panel_ ||
        list_->rule_y().mode != LayoutMode::BOTH_SIDE)
        return;
    int32_t rows = 0;
    for (const MenuEntry& entry : entries_) rows += row_height(entry);
    if (rows <= 0) return;
    const int32_t chrome = list_->rule_y().border_min + list_->rule_y().border_max +
                           list_->scroll_border_min() + list_->scroll_border_max();
    const int32_t height = std::min(panel_design_.y, chrome + rows);
    panel_->set_design_size({panel_design_.x, height});
}

void FormMenu::close() {
    if (FormStack* stack = FormStack::instance())
        if (stack->contains(*this)) stack->remove(*this, true);
}

bool FormMenu::key(const KeyEvent& event) {
    if (event.code != KeyCode::Backspace) return Form::key(event);
    if (event.pressed && event.first) close();
    return true;
}

std::u16string FormMenu::entry_text(const MenuEntry& entry) const {
    return entry.text.empty() ? properties().translate(entry.key) : entry.text;
}

std::unique_ptr<Element> FormMenu::create_row(VListElement&, int index) {
    if (index < 0 || static_cast<size_t>(index) >= entries_.size()) return nullptr;
    const MenuEntry& entry = entries_[static_cast<size_t>(index)];
    std::u16string node = entry.row_node.empty() ? row_node_ : entry.row_node;
    if (!entry.enabled) node += u"Disabled";
    std::unique_ptr<Element> row = row_builder::build(properties(), node);
    if (!row) {
        // The list drops the index; the entry goes too, so that the rows
        // after it keep their entries.
        entries_.erase(entries_.begin() + index);
        return nullptr;
    }
    if (entry.key != MenuEntry::kButtonRow) row->set_text(u"#text", entry_text(entry));
    if (Element* separator = row->find_element(u"separator"))
        separator->set_visible(entry.separator);
    if (Element* checked = row->find_element(u"checked")) checked->set_visible(entry.checked);
    listen_to_buttons(*row);
    return row;
}

void FormMenu::listen_to_buttons(Element& element) {
    for (size_t i = 0; i < element.child_count(); ++i) {
        Element& child = *element.child(i);
        if (auto* button = dynamic_cast<ButtonElement*>(&child)) button->set_listener(this);
        listen_to_buttons(child);
    }
}

void FormMenu::row_tapped(VListElement&, int index) {
    if (index < 0 || static_cast<size_t>(index) >= entries_.size()) return;
    const MenuEntry entry = entries_[static_cast<size_t>(index)];
    if (!entry.enabled) return;
    open(entry.key, entry_text(entry), false);
}

void FormMenu::clicked(ButtonElement& button, const Click&) {
    const std::u16string key = button.id();
    open(key, u"", false);
}

void FormMenu::state_changed(ButtonElement&, const StateChange&) {}

void FormMenu::dragged(ButtonElement&, Drag&) {}
