#pragma once
// Contacts for the tests: a vCard with a name and a mobile number written
// into the device's address book folder.
#include <filesystem>
#include <string>

#include "support/Files.h"

// Writes DEVICE/contacts/file; returns its path.
inline std::filesystem::path write_card(const std::filesystem::path& device,
                                        const std::string& file, const std::string& name,
                                        const std::string& tel) {
    std::filesystem::path path = device / "contacts" / file;
    write_file(path, "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:" + name + "\r\nN:" + name +
                         ";;;;\r\nTEL;TYPE=CELL:" + tel + "\r\nEND:VCARD\r\n");
    return path;
}
