#pragma once
// The device's address book: the device folder's contacts/ folder, one vCard
// (versions 2.1, 3.0 and 4.0) per .vcf file, the layout that CardDAV sync tools
// keep ("vdir"). Any program may create, change or remove the files; the book
// reads them when asked and reports such changes by object id.
//
// Object ids are 32-bit, positive, and stable across runs and restarts: a file
// keeps its id for as long as it exists under its name.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/contacts/ContactRecord.h"

class AddressBook {
public:
    // The address book of the current device folder (<device>/contacts).
    // Nothing is written until the book watches the folder or imports: a
    // book that only reads leaves the device as it found it.
    AddressBook();
    // The address book in another folder (tests, tools).
    explicit AddressBook(std::string folder);
    ~AddressBook();
    AddressBook(const AddressBook&) = delete;
    AddressBook& operator=(const AddressBook&) = delete;

    const std::string& folder() const { return folder_; }

    // Every contact, in file-name order. progress(index, count) is called
    // after each file. A file that cannot be read or parsed is logged and
    // left out.
    std::vector<ContactRecord> all_contacts(
        const std::function<void(size_t index, size_t count)>& progress = {});
    // The contact with this object id, read from its file now.
    std::optional<ContactRecord> contact_by_id(int32_t id);
    // The path of the file of the contact with this object id while it
    // exists, else "".
    std::string contact_file(int32_t id);
    // A contact having a telephone field that matches the number (the same
    // digits, allowing for a country or trunk prefix), or none.
    std::optional<ContactRecord> find_matching_contact(std::u16string_view number);

    // --- change notices ---
    enum class Change { Created, Changed, Deleted };
    struct Notice {
        Change change;
        int32_t id;
    };
    // Starts watching the folder (inotify), creating it when missing. From
    // then on the book keeps the id map ("contacts.ids") up to date. False
    // when it cannot.
    bool watch();
    // A descriptor that becomes readable when notices are waiting (for the
    // event loop's poll), or -1 when not watching.
    int watch_fd() const;
    // The notices that arrived since the last call, without waiting: one per
    // file and change, in the order they happened. A file written in several
    // steps gives one notice.
    std::vector<Notice> take_changes();

    // --- import ---
    struct ImportResult {
        size_t imported = 0;       // cards written as new files
        size_t already_there = 0;  // cards the folder or the file itself holds already
        size_t refused = 0;        // cards the book would not read, or without content
        // Why cards were refused, the first few, one line each.
        std::vector<std::string> notes;
    };
    // Splits a file of one or more vCards into the folder, one card a file,
    // never overwriting an existing file nor writing a card that is there
    // already (see VCardImport.h). Every card is checked before the first file
    // is written. False with *error set (one line) when the text holds no
    // complete card, two different cards share a UID, or the files cannot be
    // written; result then counts what was written all the same.
    bool import_cards(std::string_view bytes, ImportResult& result, std::string* error);

private:
    struct Impl;
    std::string folder_;
    std::unique_ptr<Impl> impl_;
};
