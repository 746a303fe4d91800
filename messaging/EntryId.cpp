#include "messaging/EntryId.h"

#include <bit>
#include <new>

struct EntryId::Buffer {
    std::atomic<uint32_t> references;
    uint8_t bytes[1];  // allocated to the id's length
};

EntryId::EntryId(const uint8_t* data, uint32_t length) {
    if (length == 0) return;
    void* memory = ::operator new(offsetof(Buffer, bytes) + length);
    buffer_ = new (memory) Buffer{{1}, {0}};
    std::memcpy(buffer_->bytes, data, length);
    length_ = length;
}

EntryId::EntryId(const EntryId& other) noexcept
    : buffer_(other.buffer_), offset_(other.offset_), length_(other.length_) {
    if (buffer_) buffer_->references.fetch_add(1, std::memory_order_relaxed);
}

EntryId::EntryId(EntryId&& other) noexcept
    : buffer_(other.buffer_), offset_(other.offset_), length_(other.length_) {
    other.buffer_ = nullptr;
    other.offset_ = other.length_ = 0;
}

EntryId& EntryId::operator=(const EntryId& other) noexcept {
    if (this != &other) {
        if (other.buffer_) other.buffer_->references.fetch_add(1, std::memory_order_relaxed);
        release();
        buffer_ = other.buffer_;
        offset_ = other.offset_;
        length_ = other.length_;
    }
    return *this;
}

EntryId& EntryId::operator=(EntryId&& other) noexcept {
    if (this != &other) {
        release();
        buffer_ = other.buffer_;
        offset_ = other.offset_;
        length_ = other.length_;
        other.buffer_ = nullptr;
        other.offset_ = other.length_ = 0;
    }
    return *this;
}

EntryId::~EntryId() { release(); }

EntryId EntryId::slice(uint32_t offset, uint32_t length) const {
    EntryId part;
    if (length == 0 || offset > length_ || length > length_ - offset) return part;
    part.buffer_ = buffer_;
    part.offset_ = offset_ + offset;
    part.length_ = length;
    buffer_->references.fetch_add(1, std::memory_order_relaxed);
    return part;
}

void EntryId::release() {
    if (buffer_ && buffer_->references.fetch_sub(1, std::memory_order_acq_rel) == 1) {
        buffer_->~Buffer();
        ::operator delete(buffer_);
    }
    buffer_ = nullptr;
}

const uint8_t* EntryId::data() const { return buffer_ ? buffer_->bytes + offset_ : nullptr; }

std::vector<uint8_t> EntryId::bytes() const {
    const uint8_t* p = data();
    return p ? std::vector<uint8_t>(p, p + length_) : std::vector<uint8_t>();
}

std::string EntryId::hex() const {
    static const char kDigits[] = "0123456789abcdef";
    std::string out;
    const uint8_t* p = data();
    for (uint32_t i = 0; i < length_; ++i) {
        out.push_back(kDigits[p[i] >> 4]);
        out.push_back(kDigits[p[i] & 15]);
    }
    return out;
}

EntryId EntryId::from_hex(std::string_view text) {
    auto digit = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    };
    if (text.empty() || text.size() % 2 != 0) return {};
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i < text.size(); i += 2) {
        int hi = digit(text[i]), lo = digit(text[i + 1]);
        if (hi < 0 || lo < 0) return {};
        bytes.push_back(static_cast<uint8_t>(hi * 16 + lo));
    }
    return EntryId(bytes);
}

int EntryId::compare(const EntryId& a, const EntryId& b) {
    if (a.length_ != b.length_) return a.length_ < b.length_ ? -1 : 1;
    if (a.length_ == 0) return 0;
    // The store's ids are 8 bytes: compared as big-endian words they sort
    // without a call per comparison (the sorts of a start make millions).
    if (a.length_ == 8) {
        uint64_t x, y;
        std::memcpy(&x, a.data(), 8);
        std::memcpy(&y, b.data(), 8);
        if constexpr (std::endian::native == std::endian::little) {
            x = __builtin_bswap64(x);
            y = __builtin_bswap64(y);
        }
        return x == y ? 0 : (x < y ? -1 : 1);
    }
    return std::memcmp(a.data(), b.data(), a.length_);
}
