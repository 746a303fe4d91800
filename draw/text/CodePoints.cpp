#include "draw/text/CodePoints.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

using Range = std::pair<char32_t, char32_t>;  // first and last, inclusive

template <size_t N>
bool in(const std::array<Range, N>& ranges, char32_t cp) {
    // Sorted and apart, so the only candidate is the last range starting at
    // or before cp.
    auto after = std::upper_bound(ranges.begin(), ranges.end(), cp,
                                  [](char32_t c, const Range& r) { return c < r.first; });
    return after != ranges.begin() && cp <= std::prev(after)->second;
}

constexpr std::array<Range, 13> kInvisible = {{
    {0x00AD, 0x00AD},    // soft hyphen
    {0x034F, 0x034F},    // combining grapheme joiner
    {0x061C, 0x061C},    // Arabic letter mark
    {0x180B, 0x180F},    // Mongolian variation selectors
    {0x200B, 0x200F},    // zero-width space, non-joiner, joiner; direction marks
    {0x202A, 0x202E},    // direction embeddings and overrides
    {0x2060, 0x206F},    // word joiner, invisible operators, direction isolates
    {0xFE00, 0xFE0F},    // variation selectors
    {0xFEFF, 0xFEFF},    // byte-order mark
    {0xFFF0, 0xFFF8},    // unassigned specials
    {0x1BCA0, 0x1BCA3},  // shorthand format controls
    {0x1D173, 0x1D17A},  // musical formatting
    {0xE0000, 0xE0FFF},  // tags and the variation selectors supplement
}};

// Emoji_Presentation=Yes below U+1F000, from Unicode's emoji data.
constexpr std::array<Range, 33> kEmojiBelowPictographs = {{
    {0x231A, 0x231B}, {0x23E9, 0x23EC}, {0x23F0, 0x23F0}, {0x23F3, 0x23F3}, {0x25FD, 0x25FE},
    {0x2614, 0x2615}, {0x2648, 0x2653}, {0x267F, 0x267F}, {0x2693, 0x2693}, {0x26A1, 0x26A1},
    {0x26AA, 0x26AB}, {0x26BD, 0x26BE}, {0x26C4, 0x26C5}, {0x26CE, 0x26CE}, {0x26D4, 0x26D4},
    {0x26EA, 0x26EA}, {0x26F2, 0x26F3}, {0x26F5, 0x26F5}, {0x26FA, 0x26FA}, {0x26FD, 0x26FD},
    {0x2705, 0x2705}, {0x270A, 0x270B}, {0x2728, 0x2728}, {0x274C, 0x274C}, {0x274E, 0x274E},
    {0x2753, 0x2755}, {0x2757, 0x2757}, {0x2795, 0x2797}, {0x27B0, 0x27B0}, {0x27BF, 0x27BF},
    {0x2B1B, 0x2B1C}, {0x2B50, 0x2B50}, {0x2B55, 0x2B55},
}};

}  // namespace

bool CodePoints::is_invisible(char32_t cp) {
    if (cp < 0x20 || (cp >= 0x7F && cp <= 0x9F)) return true;
    return cp >= 0xAD && in(kInvisible, cp);
}

bool CodePoints::is_emoji_by_default(char32_t cp) {
    if (cp >= 0x1F000 && cp <= 0x1FAFF) return true;
    return cp >= 0x231A && cp < 0x1F000 && in(kEmojiBelowPictographs, cp);
}
