#pragma once
// The key/value text file of language files ("*.lng") and of the smiley names
// file: one "key=value" pair a line, no comments, no escapes.
//
// Encoding: a file that starts with the bytes FF FE is UTF-16 little-endian
// after those two bytes (a stray last byte of an odd-sized file is ignored).
// Any other file is 8-bit text, each byte becoming one character: bytes above
// 0x7F are read as Latin-1 (byte value = code point). Text beyond Latin-1 is
// meant to come in UTF-16 files; a UTF-8 file is therefore read byte by byte
// and its non-ASCII text comes out garbled rather than refused.
//
// Parsing, repeated to the end of the text:
//   - white space is skipped (space, tab, CR, LF, VT, FF);
//   - the key runs up to the first white space or "=";
//   - after a "=" the value starts right behind it; otherwise spaces and tabs
//     (not line ends) are skipped and the value starts there;
//   - the value runs to the next CR or LF (excluded) or the end of the text.
// So "key=value" gives exactly key and value, inner and trailing spaces kept;
// "key = value" gives the value "= value"; "key value" gives "value". An empty
// key is ignored; a later key replaces the value of an earlier one.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>

class KeyValueFile {
public:
    // Ordered by key in plain code-unit order. std::less<> lets callers look
    // up by std::u16string_view without building a string.
    using Map = std::map<std::u16string, std::u16string, std::less<>>;

    // Files larger than this are refused: no language or names file comes
    // anywhere near it, and reading a huge file whole would stall the program.
    static constexpr size_t kMaxFileSize = 16 * 1024 * 1024;

    // The text of a file image, decoded as described above.
    static std::u16string decode(std::span<const uint8_t> bytes);

    // The pairs of a decoded text.
    static Map parse_text(std::u16string_view text);

    // decode() then parse_text().
    static Map parse(std::span<const uint8_t> bytes);

    // Reads the file at path (path macros such as "%app_path%" expanded) and
    // parses it. Nothing when the file cannot be opened, is not a regular file,
    // cannot be read whole or is larger than kMaxFileSize; every such case
    // except a missing file writes one log line.
    static std::optional<Map> load(std::u16string_view path);
};
