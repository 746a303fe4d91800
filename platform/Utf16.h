#pragma once
// Conversions between the program's UTF-16 text and the UTF-8 that the
// operating system, SQLite and terminals speak. Invalid sequences become
// U+FFFD in either direction, so no input can make a conversion fail.
#include <string>
#include <string_view>

namespace utf16 {

std::u16string from_utf8(std::string_view text);
std::string to_utf8(std::u16string_view text);

// ASCII-only literal helper for fixed texts ("SMS", registry names).
std::u16string from_ascii(std::string_view text);

// Decimal text of a number, as the log and the tools print it.
std::u16string number(long long value);

}  // namespace utf16
