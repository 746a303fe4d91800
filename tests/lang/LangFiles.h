#pragma once
// Writes key/value files for the language tests.
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/Utf16.h"

// UTF-16LE bytes of text, with the byte-order mark in front.
inline std::string utf16_file(const std::u16string& text) {
    std::string bytes = "\xFF\xFE";
    for (char16_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    return bytes;
}

inline void write_file(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}
