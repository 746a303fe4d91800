#pragma once
// Bounds-checked little-endian reads from the bytes of a skin file.
//
// Skin files pack 16- and 32-bit fields at any byte position, so every read
// goes through memcpy-like byte assembly: no field is ever read through a
// misaligned pointer, and a read that would pass the end of the bytes gives
// nothing instead of reading past them.
#include <compare>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

class SkinBytes {
public:
    SkinBytes() = default;
    explicit SkinBytes(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    size_t size() const { return bytes_.size(); }
    // True when [offset, offset + length) lies inside the bytes.
    bool holds(uint64_t offset, uint64_t length) const {
        return offset <= bytes_.size() && length <= bytes_.size() - offset;
    }

    // Unchecked reads: the caller has made sure the field lies inside.
    uint8_t u8(size_t at) const { return bytes_[at]; }
    uint16_t u16(size_t at) const {
        return static_cast<uint16_t>(bytes_[at] | bytes_[at + 1] << 8);
    }
    uint32_t u32(size_t at) const {
        return static_cast<uint32_t>(u16(at)) | static_cast<uint32_t>(u16(at + 2)) << 16;
    }
    int16_t i16(size_t at) const { return static_cast<int16_t>(u16(at)); }
    int32_t i32(size_t at) const { return static_cast<int32_t>(u32(at)); }

    // Number of UTF-16 units of the 0-terminated string at offset, without the
    // terminator; nothing when the terminator is not inside the bytes.
    std::optional<size_t> string_length(uint64_t offset) const;
    // The 0-terminated string at offset, which string_length has accepted.
    std::u16string string(size_t offset) const;
    // Compares wanted with the accepted string at offset, unit by unit, a
    // prefix sorting first.
    std::strong_ordering compare(std::u16string_view wanted, size_t offset) const;
    // Compares two accepted strings in the same order.
    std::strong_ordering compare(size_t a, size_t b) const;

private:
    std::span<const uint8_t> bytes_;
};
