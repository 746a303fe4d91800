#pragma once
// A message store identifier: opaque bytes in a shared, reference-counted buffer
// (an offset and a length into it). Copies share the buffer. Ids are ordered by
// length first, then bytewise: the order of the chat model's sorted indexes.
#include <atomic>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

class EntryId {
public:
    EntryId() = default;
    // A new id with its own buffer holding a copy of the bytes.
    EntryId(const uint8_t* data, uint32_t length);
    explicit EntryId(const std::vector<uint8_t>& bytes)
        : EntryId(bytes.data(), static_cast<uint32_t>(bytes.size())) {}
    EntryId(const EntryId& other) noexcept;
    EntryId(EntryId&& other) noexcept;
    EntryId& operator=(const EntryId& other) noexcept;
    EntryId& operator=(EntryId&& other) noexcept;
    ~EntryId();

    // The id of length bytes from offset within this one, sharing its buffer:
    // many ids read from one block of bytes then cost one allocation, which
    // lives while any of them does. An empty id when the range is empty or
    // does not lie within this id.
    EntryId slice(uint32_t offset, uint32_t length) const;

    bool empty() const { return length_ == 0; }
    uint32_t length() const { return length_; }
    const uint8_t* data() const;
    std::vector<uint8_t> bytes() const;
    // Lower-case hexadecimal of the bytes, as the tools print ids.
    std::string hex() const;
    // Parses hexadecimal text; an empty id when the text is not whole bytes of hex.
    static EntryId from_hex(std::string_view text);

    friend bool operator==(const EntryId& a, const EntryId& b) { return compare(a, b) == 0; }
    friend bool operator<(const EntryId& a, const EntryId& b) { return compare(a, b) < 0; }
    static int compare(const EntryId& a, const EntryId& b);

private:
    struct Buffer;
    void release();

    Buffer* buffer_ = nullptr;
    uint32_t offset_ = 0;
    uint32_t length_ = 0;
};
