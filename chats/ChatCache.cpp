#include "chats/ChatCache.h"

#include <unistd.h>

#include "platform/AtomicWrite.h"
#include "platform/Log.h"
#include "platform/Paths.h"
#include "platform/WholeFile.h"

namespace {

// --- Writing ---------------------------------------------------------------

// Appends the file's integers and counted strings to a byte string.
class ByteWriter {
public:
    explicit ByteWriter(std::string& out) : out_(out) {}

    void put(const void* data, size_t size) { out_.append(static_cast<const char*>(data), size); }

    void put_int(int64_t value, int width) {
        for (int i = 0; i < width; ++i)
            out_.push_back(static_cast<char>(static_cast<uint64_t>(value) >> (8 * i)));
    }

    void put_string(const std::u16string& text) {
        uint64_t length = text.size();
        if (length < 128) {
            put_int(static_cast<int64_t>(length), 1);
        } else {
            int k = 1;
            for (uint64_t rest = length; rest >= 128; rest >>= 8) ++k;
            put_int(-k, 1);
            put_int(static_cast<int64_t>(length), k);
        }
        for (char16_t c : text) put_int(c, 2);
    }

private:
    std::string& out_;
};

bool write_chats(std::string& content, const ChatCache::ChatList& chats) {
    ByteWriter out(content);
    out.put_int(ChatCache::kVersion, 4);
    for (const auto& chat : chats) {
        if (chat->empty()) continue;
        if (chat->size() > static_cast<size_t>(ChatCache::kMaxMessages)) return false;
        out.put_string(chat->name);
        out.put_string(chat->number);
        out.put_int(chat->unread, 4);
        out.put_int(static_cast<int64_t>(chat->size()), 4);
        for (const SmsRecord& record : chat->messages()) {
            // An id the 16-bit signed length cannot hold would make the file
            // unreadable; better keep the old cache than write that.
            if (record.id.length() > 0x7FFF) return false;
            out.put_int(record.folder, 2);
            out.put_int(record.id.length(), 2);
            out.put(record.id.data(), record.id.length());
        }
    }
    return true;
}

// --- Reading ---------------------------------------------------------------

// A cursor over the file image. Every read checks the bytes left first.
class Reader {
public:
    Reader(const uint8_t* data, size_t size) : p_(data), left_(size) {}

    bool at_end() const { return left_ == 0; }
    size_t left() const { return left_; }

    // A little-endian integer of width bytes (1..8), sign-extended.
    bool int_of(size_t width, int64_t& value) {
        if (width < 1 || width > 8 || left_ < width) return false;
        uint64_t bits = 0;
        for (size_t i = 0; i < width; ++i) bits |= static_cast<uint64_t>(p_[i]) << (8 * i);
        if (width < 8 && (bits >> (8 * width - 1)) != 0) bits |= ~uint64_t{0} << (8 * width);
        value = static_cast<int64_t>(bits);
        skip(width);
        return true;
    }

    bool string(std::u16string& text) {
        int64_t length = 0;
        if (!int_of(1, length)) return false;
        if (length < 0) {
            // -k: the length follows in k bytes and is at least 1. Lengths
            // wider than 8 bytes cannot describe anything inside a file.
            if (!int_of(static_cast<size_t>(-length), length) || length < 1) return false;
        }
        if (static_cast<uint64_t>(length) > left_ / 2) return false;
        text.resize(static_cast<size_t>(length));
        for (char16_t& c : text) c = static_cast<char16_t>(p_[0] | p_[1] << 8), skip(2);
        return true;
    }

    bool bytes(size_t count, const uint8_t*& data) {
        if (left_ < count) return false;
        data = p_;
        skip(count);
        return true;
    }

private:
    void skip(size_t n) {
        p_ += n;
        left_ -= n;
    }

    const uint8_t* p_;
    size_t left_;
};

// The ids of the file are slices of one copy of its image (image, whose
// bytes start at base), rather than an allocation each.
bool parse_chat(Reader& in, const EntryId& image, const uint8_t* base,
                std::unique_ptr<Chat>& chat) {
    std::u16string name, number;
    if (!in.string(name) || !in.string(number)) return false;
    // The same key a new chat of this correspondent gets, so that messages
    // arriving after a restart join the chat that came from the file.
    std::u16string key = correspondent_key(name, number);
    if (key.empty()) return false;

    int64_t unread = 0, count = 0;
    if (!in.int_of(4, unread) || unread < 0) return false;
    bool counted = in.int_of(4, count);
    // Each message takes at least 5 bytes (folder, id length, one id byte):
    // a count the rest of the file cannot hold is refused before anything is
    // reserved for it.
    if (!counted || count < 1 || count > ChatCache::kMaxMessages ||
        static_cast<uint64_t>(count) > in.left() / 5) {
        log() << u"load_cache counter:" << count << u"\n";
        return false;
    }

    chat = std::make_unique<Chat>(ChatIdentity{std::move(name), std::move(number), std::move(key)});
    chat->unread = static_cast<int32_t>(unread);
    chat->reserve_more(static_cast<size_t>(count));
    for (int64_t i = 0; i < count; ++i) {
        int64_t folder = 0, length = 0;
        const uint8_t* id = nullptr;
        if (!in.int_of(2, folder) || folder < kFolderInbox || folder > kFolderOutbox) return false;
        if (!in.int_of(2, length) || length < 1) return false;
        if (!in.bytes(static_cast<size_t>(length), id)) return false;
        SmsRecord record;
        record.id = image.slice(static_cast<uint32_t>(id - base), static_cast<uint32_t>(length));
        record.folder = static_cast<FolderIndex>(folder);
        chat->append(std::move(record));
    }
    return true;
}

}  // namespace

std::u16string ChatCache::default_path() { return paths::device_folder() + u"/cache"; }

bool ChatCache::save(const std::u16string& path, const ChatList& chats) {
    log() << u"save_cache:" << chats.size() << u" chats\n";
    std::string file = paths::native(path);
    if (chats.empty()) {
        ::unlink(file.c_str());
        return true;
    }

    // Built in memory (about 13 bytes a message) and replaced as a whole.
    std::string content;
    if (!write_chats(content, chats) || content.size() > kMaxFileSize) {
        log() << u"save_cache: too large\n";
        return false;
    }
    std::string error;
    if (!write_file_atomically(file, content, 0644, &error)) {
        log() << u"save_cache: " << error << u"\n";
        return false;
    }
    log() << u"save_cache success:" << chats.size() << u" chats\n";
    return true;
}

bool ChatCache::read(const std::u16string& path, ChatList& out) {
    std::vector<uint8_t> data;
    std::string error;
    switch (WholeFile::read(paths::native(path), kMaxFileSize, data, &error)) {
        case WholeFile::Status::Ok:
            return parse(data.data(), data.size(), out);
        case WholeFile::Status::Missing:
            return false;
        case WholeFile::Status::Failed:
            log() << u"load_cache: " << error << u"\n";
            return false;
    }
    return false;
}

bool ChatCache::parse(const uint8_t* data, size_t size, ChatList& out) {
    Reader in(data, size);
    int64_t version = 0;
    if (!in.int_of(4, version) || version != kVersion) return false;
    // Files are at most kMaxFileSize bytes, far within an id's 32-bit length;
    // a larger image is refused before it is copied.
    if (size > kMaxFileSize) return false;
    const EntryId image(data, static_cast<uint32_t>(size));
    ChatList chats;
    while (!in.at_end()) {
        std::unique_ptr<Chat> chat;
        if (!parse_chat(in, image, data, chat)) return false;
        chats.push_back(std::move(chat));
    }
    for (auto& chat : chats) out.push_back(std::move(chat));
    return true;
}
