#pragma once
// The phone list: every number of every contact with a display name (mobile,
// business and home), plus the numbers of chats no contact matched. At most one
// entry per chat key: adding an entry whose key is present overwrites that
// entry in place. The order is the order of adding until select() sorts it.
//
// Lookups by key go through an index beside the vector, so linking a thousand
// chats against thousands of numbers costs a hash lookup per chat.
#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "chats/PhoneEntry.h"
#include "platform/contacts/ContactRecord.h"

class PhoneList {
public:
    const std::vector<PhoneEntry>& entries() const { return entries_; }
    size_t size() const { return entries_.size(); }
    PhoneEntry& operator[](size_t index) { return entries_[index]; }

    // Overwrites the entry with the same key, or appends.
    void add(PhoneEntry entry);
    // Position of the entry with this key, or -1.
    long find(const std::u16string& key) const;
    // Adds the contact's Mobile ("mobile"), BusinessTel ("business") and
    // HomeTel ("home") numbers, those with a non-empty key, in that order.
    // False, adding nothing, when the contact has no display name.
    bool add_contact(const ContactRecord& contact);
    // Removes every entry of that contact.
    void remove_contact(int32_t contact_id);
    void clear();

    // Marks the entries of the chat key as selected (an empty key clears every
    // mark), then sorts: selected first, then by display text (the name, or
    // the number when there is none), then by number; code-unit order.
    void select(const std::u16string& key);
    // The same order without changing any mark: recipients ticked one by
    // one move to the top.
    void sort();
    // Position of the entry with the entry's key, appending it when missing.
    size_t find_or_add(PhoneEntry entry);

    // The entry of a typed text: a number when it has digits, else a name
    // that is also its key.
    static PhoneEntry from_typed(const std::u16string& text);

private:
    void reindex();

    std::vector<PhoneEntry> entries_;
    std::unordered_map<std::u16string, size_t> index_;
};
