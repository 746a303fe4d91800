#pragma once
// The files of the contacts folder: which names count as contacts, listing
// them, and reading one safely.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace contact_files {

// A contact's file name: ends in ".vcf" (any case) and does not start with a
// dot, so hidden files such as editor lock files (".#name.vcf") and the
// temporary files of sync tools never count.
bool is_contact_file_name(std::string_view name);

// The contact file names of folder, sorted by their bytes. False with *error
// set when the folder cannot be read.
bool list(const std::string& folder, std::vector<std::string>& names, std::string* error);

enum class ReadResult { Ok, Missing, Failed };
// Reads the whole file into bytes (reusing its capacity). Missing when the file
// is gone (removed between listing and reading); Failed with *error set when
// it is not a regular file, is larger than max_size, or cannot be read. A FIFO
// or device under a contact's name never blocks the reader.
ReadResult read(const std::string& path, std::string& bytes, size_t max_size, std::string* error);

}  // namespace contact_files
