#pragma once
// Turns the raw value of a content line into text: undoes the transfer
// encoding (vCard 2.1 QUOTED-PRINTABLE, BASE64 / 3.0 "b"), converts the
// declared CHARSET (any that ICU knows: windows-1251, KOI8-R, ISO-8859-1,
// Shift_JIS, ...; UTF-8 when none is declared) and undoes the backslash
// escapes of RFC 2426 / RFC 6350.
//
// Keeps the ICU converters it opened last (unknown charsets among them), so
// one decoder should serve a whole scan of the address book. Unknown charsets
// are logged, the first twenty of them. Not thread-safe.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/contacts/VCardProperty.h"

class VCardDecoder {
public:
    VCardDecoder();
    ~VCardDecoder();
    VCardDecoder(const VCardDecoder&) = delete;
    VCardDecoder& operator=(const VCardDecoder&) = delete;

    // The value with encoding and charset undone, escapes still in place.
    std::u16string raw_text(const VCardProperty& property);
    // The value as plain text: raw_text with escapes undone, blanks trimmed.
    std::u16string text(const VCardProperty& property);
    // The components of a structured value (N, ORG): split at each ';' that
    // is not escaped, each unescaped and trimmed. At least one component.
    std::vector<std::u16string> components(const VCardProperty& property);

    // "=XX" becomes the byte; an "=" that starts no such pair is kept as
    // written, except a lone "=" at the very end (a soft break with nothing
    // after it), which is dropped.
    static void decode_quoted_printable(std::string_view in, std::string& out);
    // Standard base64; blanks and line ends are skipped, decoding stops at the
    // first "=". False (out then holds what came before) on any other byte.
    static bool decode_base64(std::string_view in, std::string& out);
    // "\n" and "\N" become a line end; "\\", "\,", "\;" and "\:" the character;
    // any other backslash stays as written.
    static std::u16string unescape(std::u16string_view in);

private:
    struct Converter;
    std::u16string convert(std::string_view bytes, std::string_view charset);

    std::vector<std::unique_ptr<Converter>> converters_;  // the latest few, oldest first
    int unknown_logged_ = 0;                              // unknown charsets logged so far
    std::string scratch_;
};
