#pragma once
// The program's view of the address book: reads every contact, one contact by
// id, finds the contact of a phone number, and hands the address book's change
// notices to its listener on the user-interface thread.
#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "chats/ContactsListener.h"
#include "platform/contacts/AddressBook.h"

class ContactsDirectory {
public:
    // The address book of the current device folder.
    explicit ContactsDirectory(ContactsListener* listener);

    // Every contact. The listener hears of the progress after each contact
    // whose position is not a multiple of 25.
    std::vector<ContactRecord> all_contacts();
    std::optional<ContactRecord> contact_by_id(int32_t id);
    // The contact's vCard file, for the desktop's address book to show; ""
    // when the contact is gone.
    std::u16string contact_file(int32_t id);
    // The contact having this phone number, or none ("find_contact_by_phone:
    // bad result" in the log).
    std::optional<ContactRecord> find_contact_by_phone(std::u16string_view number);

    // Starts reporting changes of the address book. False when it cannot.
    bool subscribe();
    // Readable when change notices wait (for the event loop), -1 before subscribe().
    int watch_fd() const { return book_.watch_fd(); }
    // Hands every waiting change notice to the listener, each with its log
    // line and the milliseconds it took. Returns how many there were.
    size_t process_changes();

private:
    AddressBook book_;
    ContactsListener* listener_;
};
