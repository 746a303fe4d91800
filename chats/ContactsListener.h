#pragma once
// Told of the address book's contacts as the directory reads them and as they
// change. Every operation gets the directory that calls it.
#include <cstddef>
#include <cstdint>

#include "platform/contacts/ContactRecord.h"

class ContactsDirectory;

class ContactsListener {
public:
    virtual void on_contact_added(ContactsDirectory& directory, const ContactRecord& contact) = 0;
    virtual void on_contacts_progress(ContactsDirectory& directory, size_t index, size_t count) = 0;
    virtual void on_contact_changed(ContactsDirectory& directory, int32_t id) = 0;
    virtual void on_contact_removed(ContactsDirectory& directory, int32_t id) = 0;
    virtual ~ContactsListener() = default;
};
