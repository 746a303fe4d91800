#pragma once
// A node of a loaded skin: the file offset of its Node record (the seven
// section bounds, the child count and the child offsets). A plain value; it
// means something only together with the SkinFile it came from, and only for
// as long as that file stays loaded.
#include <cstdint>

struct SkinNode {
    uint32_t offset = 0;
    friend constexpr bool operator==(SkinNode, SkinNode) = default;
};
