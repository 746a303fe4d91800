#pragma once
// The files of the contacts folder: which names count as contacts, how large
// one may be, and listing them. They are read with WholeFile.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace contact_files {

// A contact is a few kilobytes, a photo a few hundred; a file beyond this is
// not a contact and would only cost memory. The address book does not read
// larger files, and an import does not write larger cards.
constexpr size_t kMaxFileSize = 16 * 1024 * 1024;

// A contact's file name: ends in ".vcf" (any case) and does not start with a
// dot, so hidden files such as editor lock files (".#name.vcf") and the
// temporary files of sync tools never count.
bool is_contact_file_name(std::string_view name);

// The contact file names of folder, sorted by their bytes; none when the
// folder does not exist. False with *error set when it cannot be read.
bool list(const std::string& folder, std::vector<std::string>& names, std::string* error);

}  // namespace contact_files
