#include "skin/file/SkinBytes.h"

std::optional<size_t> SkinBytes::string_length(uint64_t offset) const {
    for (uint64_t at = offset; holds(at, 2); at += 2)
        if (u16(at) == 0) return (at - offset) / 2;
    return std::nullopt;
}

std::u16string SkinBytes::string(size_t offset) const {
    std::u16string text;
    for (size_t at = offset; u16(at) != 0; at += 2) text.push_back(static_cast<char16_t>(u16(at)));
    return text;
}

std::strong_ordering SkinBytes::compare(std::u16string_view wanted, size_t offset) const {
    for (size_t i = 0;; ++i) {
        uint16_t unit = u16(offset + 2 * i);
        if (i == wanted.size())
            return unit == 0 ? std::strong_ordering::equal : std::strong_ordering::less;
        if (unit == 0) return std::strong_ordering::greater;
        if (auto c = static_cast<uint16_t>(wanted[i]) <=> unit; c != 0) return c;
    }
}

std::strong_ordering SkinBytes::compare(size_t a, size_t b) const {
    for (size_t i = 0;; i += 2) {
        uint16_t x = u16(a + i), y = u16(b + i);
        if (x != y) {
            if (x == 0) return std::strong_ordering::less;
            if (y == 0) return std::strong_ordering::greater;
            return x <=> y;
        }
        if (x == 0) return std::strong_ordering::equal;
    }
}
