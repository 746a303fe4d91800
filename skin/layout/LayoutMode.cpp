#include "skin/layout/LayoutMode.h"

#include <array>
#include <utility>

namespace {

constexpr std::array<std::pair<std::u16string_view, LayoutMode>, 8> kNames = {{
    {u"MIN_SIDE", LayoutMode::MIN_SIDE},
    {u"BOTH_SIDE", LayoutMode::BOTH_SIDE},
    {u"MAX_SIDE", LayoutMode::MAX_SIDE},
    {u"RATIO", LayoutMode::RATIO},
    {u"CENTER", LayoutMode::CENTER},
    {u"MIN_SIDE_NO_SIZE", LayoutMode::MIN_SIDE_NO_SIZE},
    {u"MAX_SIDE_NO_SIZE", LayoutMode::MAX_SIDE_NO_SIZE},
    {u"BOTH_SIDE_NO_SIZE", LayoutMode::BOTH_SIDE_NO_SIZE},
}};

}  // namespace

LayoutMode layout_mode_from_name(std::u16string_view name) {
    for (const auto& [text, mode] : kNames)
        if (text == name) return mode;
    return LayoutMode::BOTH_SIDE;
}
