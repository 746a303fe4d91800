#include "chats/PhoneList.h"

#include <algorithm>

#include "chats/ChatKey.h"

void PhoneList::add(PhoneEntry entry) {
    auto at = index_.find(entry.key);
    if (at != index_.end()) {
        entries_[at->second] = std::move(entry);
        return;
    }
    index_.emplace(entry.key, entries_.size());
    entries_.push_back(std::move(entry));
}

long PhoneList::find(const std::u16string& key) const {
    auto at = index_.find(key);
    return at == index_.end() ? -1 : static_cast<long>(at->second);
}

bool PhoneList::add_contact(const ContactRecord& contact) {
    std::u16string name = contact.display_name();
    if (name.empty()) return false;
    static constexpr struct {
        ContactField field;
        const char16_t* label;
    } kNumbers[] = {
        {ContactField::Mobile, u"mobile"},
        {ContactField::BusinessTel, u"business"},
        {ContactField::HomeTel, u"home"},
    };
    for (const auto& n : kNumbers) {
        const std::u16string& number = contact.field(n.field);
        std::u16string key = chat_key(number);
        if (key.empty()) continue;
        add(PhoneEntry{name, number, n.label, std::move(key), contact.id, 0});
    }
    return true;
}

void PhoneList::remove_contact(int32_t contact_id) {
    auto gone = std::remove_if(entries_.begin(), entries_.end(),
                               [&](const PhoneEntry& e) { return e.contact_id == contact_id; });
    if (gone == entries_.end()) return;
    entries_.erase(gone, entries_.end());
    reindex();
}

void PhoneList::clear() {
    entries_.clear();
    index_.clear();
}

void PhoneList::select(const std::u16string& key) {
    for (PhoneEntry& e : entries_) e.selected = !key.empty() && e.key == key;
    sort();
}

void PhoneList::sort() {
    auto display = [](const PhoneEntry& e) -> const std::u16string& {
        return e.name.empty() ? e.number : e.name;
    };
    std::stable_sort(entries_.begin(), entries_.end(),
                     [&](const PhoneEntry& a, const PhoneEntry& b) {
                         if (a.selected != b.selected) return a.selected > b.selected;
                         int order = display(a).compare(display(b));
                         if (order != 0) return order < 0;
                         return a.number < b.number;
                     });
    reindex();
}

size_t PhoneList::find_or_add(PhoneEntry entry) {
    long at = find(entry.key);
    if (at >= 0) return static_cast<size_t>(at);
    add(std::move(entry));
    return entries_.size() - 1;
}

PhoneEntry PhoneList::from_typed(const std::u16string& text) {
    PhoneEntry entry;
    std::u16string key = chat_key(text);
    if (!key.empty()) {
        entry.number = text;
        entry.key = std::move(key);
    } else {
        entry.name = text;
        entry.key = text;
    }
    return entry;
}

void PhoneList::reindex() {
    index_.clear();
    for (size_t i = 0; i < entries_.size(); ++i) index_.emplace(entries_[i].key, i);
}
