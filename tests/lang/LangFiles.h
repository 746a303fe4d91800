#pragma once
// Language files for the tests: UTF-16LE text with the byte-order mark.
#include <string>

#include "support/Files.h"

inline std::string utf16_file(const std::u16string& text) {
    std::string bytes = "\xFF\xFE";
    for (char16_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    return bytes;
}
