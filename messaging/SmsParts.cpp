#include "messaging/SmsParts.h"

#include <algorithm>
#include <array>

namespace {

// The GSM 03.38 default alphabet and its extension characters as Unicode code
// points, ascending, for a binary search. 96 (the grave accent) is not among
// them: a text holding it goes as UTF-16.
constexpr std::array<char16_t, 137> kSevenBit = [] {
    std::array<char16_t, 137> table{};
    size_t n = 0;
    auto add = [&](char16_t from, char16_t to) {
        for (char16_t c = from; c <= to; ++c) table[n++] = c;
    };
    add(10, 10);
    add(12, 13);
    add(32, 95);
    add(97, 126);
    add(161, 161);
    add(163, 165);
    add(167, 167);
    add(191, 191);
    add(196, 199);
    for (int c : {201, 209, 214, 216, 220, 223, 224}) add(char16_t(c), char16_t(c));
    add(228, 230);
    for (int c : {232, 233, 236, 241, 242, 246, 248, 249, 252}) add(char16_t(c), char16_t(c));
    for (int c : {915, 916, 920, 923, 926, 928, 931, 934, 936, 937}) add(char16_t(c), char16_t(c));
    add(8364, 8364);
    return table;
}();
static_assert(std::is_sorted(kSevenBit.begin(), kSevenBit.end()));
static_assert(kSevenBit.back() == 8364, "the table is filled to its last entry");

constexpr int32_t kSingle7 = 160;
constexpr int32_t kPart7 = 153;
constexpr int32_t kSingle16 = 70;
constexpr int32_t kPart16 = 67;

}  // namespace

bool SmsParts::is_seven_bit(char16_t c) {
    return std::binary_search(kSevenBit.begin(), kSevenBit.end(), c);
}

bool SmsParts::is_extension(char16_t c) {
    switch (c) {
        case 12:
        case u'^':
        case u'{':
        case u'}':
        case u'[':
        case u']':
        case u'~':
        case u'\\':
        case u'|':
        case 8364:
            return true;
        default:
            return false;
    }
}

SmsParts SmsParts::count(std::u16string_view text) {
    int64_t septets = 0;
    bool seven_bit = true;
    for (char16_t c : text) {
        if (!is_seven_bit(c)) {
            seven_bit = false;
            break;
        }
        septets += is_extension(c) ? 2 : 1;
    }
    const int64_t used = seven_bit ? septets : static_cast<int64_t>(text.size());
    const int64_t single = seven_bit ? kSingle7 : kSingle16;
    const int64_t part = seven_bit ? kPart7 : kPart16;
    const int64_t parts = used <= single ? 1 : (used + part - 1) / part;
    const int64_t limit = used <= single ? single : parts * part;
    return {static_cast<int32_t>(parts), static_cast<int32_t>(limit - used), seven_bit};
}

std::u16string SmsParts::text(std::u16string_view sms_word) const {
    auto number = [](int32_t n) {
        std::string digits = std::to_string(n);
        return std::u16string(digits.begin(), digits.end());
    };
    std::u16string out = number(parts);
    out += u' ';
    out += sms_word;
    out += u" (";
    out += number(left);
    out += u')';
    return out;
}
