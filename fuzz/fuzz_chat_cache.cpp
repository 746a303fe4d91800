// libFuzzer target for the chat cache reader: any bytes go through
// ChatCache::parse. A file that parses is walked whole (every chat's key and
// every record's id bytes), so a record that points outside the file shows up
// under the address sanitizer; and what it gave must be what the format
// allows, or the target stops.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "chats/ChatCache.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ChatCache::ChatList chats;
    if (!ChatCache::parse(data, size, chats)) {
        if (!chats.empty()) std::abort();  // a refused file appends nothing
        return 0;
    }
    // Summed into a sink, so that every id byte is really read.
    static volatile size_t sink = 0;
    size_t bytes = 0;
    for (const auto& chat : chats) {
        if (chat->key.empty() || chat->unread < 0 || chat->empty()) std::abort();
        if (chat->size() > static_cast<size_t>(ChatCache::kMaxMessages)) std::abort();
        for (const SmsRecord& record : chat->messages()) {
            if (record.id.empty() || record.folder < kFolderInbox || record.folder > kFolderOutbox)
                std::abort();
            for (uint8_t byte : record.id.bytes()) bytes += byte;
        }
    }
    sink = sink + bytes;
    return 0;
}
