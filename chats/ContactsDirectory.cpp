#include "chats/ContactsDirectory.h"

#include <chrono>

#include "platform/Log.h"
#include "platform/Utf16.h"

ContactsDirectory::ContactsDirectory(ContactsListener* listener) : listener_(listener) {}

std::vector<ContactRecord> ContactsDirectory::all_contacts() {
    return book_.all_contacts([this](size_t index, size_t count) {
        if (listener_ && index % 25 != 0) listener_->on_contacts_progress(*this, index, count);
    });
}

std::optional<ContactRecord> ContactsDirectory::contact_by_id(int32_t id) {
    return book_.contact_by_id(id);
}

std::u16string ContactsDirectory::contact_file(int32_t id) {
    return utf16::from_utf8(book_.contact_file(id));
}

std::optional<ContactRecord> ContactsDirectory::find_contact_by_phone(std::u16string_view number) {
    std::optional<ContactRecord> found = book_.find_matching_contact(number);
    if (!found) log() << u"find_contact_by_phone: bad result\n";
    return found;
}

bool ContactsDirectory::subscribe() { return book_.watch(); }

size_t ContactsDirectory::process_changes() {
    std::vector<AddressBook::Notice> notices = book_.take_changes();
    for (const AddressBook::Notice& notice : notices) {
        auto start = std::chrono::steady_clock::now();
        const char16_t* label = u"";
        switch (notice.change) {
            case AddressBook::Change::Created:
                label = u"PIM_ITEM_CREATED_LOCAL = ";
                if (std::optional<ContactRecord> contact = book_.contact_by_id(notice.id))
                    if (listener_) listener_->on_contact_added(*this, *contact);
                break;
            case AddressBook::Change::Deleted:
                label = u"PIM_ITEM_DELETED_LOCAL = ";
                if (listener_) listener_->on_contact_removed(*this, notice.id);
                break;
            case AddressBook::Change::Changed:
                label = u"PIM_ITEM_CHANGED_LOCAL = ";
                if (listener_) listener_->on_contact_changed(*this, notice.id);
                break;
        }
        long long ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                           std::chrono::steady_clock::now() - start)
                           .count();
        log() << label << ms << u"\n";
    }
    return notices.size();
}
