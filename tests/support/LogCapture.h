#pragma once
// Switches the log file on for one test and reads back what was written.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "platform/Log.h"
#include "platform/Registry.h"
#include "platform/Utf16.h"
#include "support/Contains.h"

// A log file's text (UTF-16LE after a byte-order mark) as UTF-8; empty when
// there is no file.
inline std::string log_file_text(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::u16string text;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2)
        text.push_back(static_cast<char16_t>(static_cast<uint8_t>(bytes[i]) |
                                             static_cast<uint8_t>(bytes[i + 1]) << 8));
    return utf16::to_utf8(text);
}

class LogCapture {
public:
    LogCapture() { forget(); }
    ~LogCapture() {
        registry::write_number(u"HKEY_CURRENT_USER\\Software\\Zelvor", u"Log", 0);
        log();
    }

    // Starts a new log file: what was written so far is no longer read.
    void forget() {
        // Logging off first, so that a stream still open on an earlier file is
        // closed before the file goes.
        registry::write_number(u"HKEY_CURRENT_USER\\Software\\Zelvor", u"Log", 0);
        log();
        std::filesystem::remove(log_file_path());
        registry::write_number(u"HKEY_CURRENT_USER\\Software\\Zelvor", u"Log", 1);
    }

    // The log's text so far, without the byte-order mark, as UTF-8.
    std::string text() const {
        log().flush();
        return log_file_text(log_file_path());
    }

    // Whether the text so far holds part (see contains).
    ::testing::AssertionResult has(std::string_view part) const { return contains(text(), part); }
};
