#pragma once
// The chat cache file ("cache" in the device folder, beside the store it was
// built from, so that two devices never share one): for every chat its name,
// number, unread count and its messages as (folder, entry id) pairs, so that
// the chat list shows at start without walking the store. Message texts,
// addresses and times are not kept; they are read from the store when a
// message is shown.
//
// Layout, all integers little-endian two's complement, sign-extended on
// reading:
//
//   version   4 bytes   1
//   chats     the rest of the file, one record after another (no count)
//
//   chat:     name, number (counted strings), unread (4), message count (4,
//             1..10,000,000), then per message: folder (2, 0..3), id length
//             (2, at least 1), the id bytes
//
//   counted string: a length prefix, then that many UTF-16LE code units. A
//   length below 128 is one byte; otherwise one byte -k, then the length in
//   k bytes, k being 1 plus the number of 8-bit shifts that bring the length
//   below 128 (200 is FE C8 00, 128 is FE 80 00).
//
// The file is replaced as a whole: written to a temporary file in the same
// folder, flushed to disk and renamed over the old one, so a full disk or a
// crash in the middle leaves the previous cache as it was. Files are at most
// kMaxFileSize bytes: the reader refuses a larger one unread, and the writer
// keeps the old file rather than write one the reader would refuse.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "chats/Chat.h"

class ChatCache {
public:
    using ChatList = std::vector<std::unique_ptr<Chat>>;

    static constexpr int32_t kVersion = 1;
    // Far above any real conversation; a count beyond it is damage.
    static constexpr int32_t kMaxMessages = 10'000'000;
    // No cache the program writes comes near this (100,000 messages take
    // about 1.3 MB), and a stray file cannot make the loader allocate without
    // bound.
    static constexpr size_t kMaxFileSize = size_t{32} << 20;

    // Where the program keeps its cache: "cache" in the device folder.
    static std::u16string default_path();

    // Writes the chats in list order (chats without messages are left out).
    // With no chats at all the file is deleted instead. Logs "save_cache:"
    // and, when the file was replaced, "save_cache success:". False when the
    // file could not be written, or the chats do not fit the limits above
    // (logged as "save_cache: too large"); the old file is then untouched.
    static bool save(const std::u16string& path, const ChatList& chats);

    // Reads the file and appends its chats to out. False, with out unchanged,
    // when the file is missing, is not a regular file, cannot be read whole,
    // is larger than kMaxFileSize or is not fully valid. Only a missing file
    // goes unlogged.
    static bool read(const std::u16string& path, ChatList& out);

    // Parses a whole file image; the same contract as read(). Never reads
    // outside [data, data + size), whatever the bytes.
    static bool parse(const uint8_t* data, size_t size, ChatList& out);
};
