#pragma once
// The fixed layout of a binary skin file. All numbers are little-endian, all
// strings UTF-16LE ending with one 0 unit; offsets count from the first byte of
// the file, except the section bounds of a node, which count from the node.
//
//   header (92 bytes)
//     0..7    magic: the units 0x0421 0x043A 0x0438 0x043D
//     8..71   free
//     72..75  offset of the root record of the named-node index, kNone if empty
//     76..79  number of pictures      80..83  number of fonts
//     84..87  offset of the string block
//     88..91  number of string values
//   string block: picture names, font descriptions, string values, packed.
//   index record: left (4), right (4), name offset (4), then the node itself.
//   node: seven u16 section bounds s0..s6 (integers, fonts, points, strings,
//     pictures, colours), u16 child count, u32 child offsets. Every entry of a
//     section starts with the u16 offset of its name; entries sorted by name.
#include <array>
#include <cstddef>
#include <cstdint>

namespace skin_format {

inline constexpr size_t kHeaderSize = 92;
inline constexpr std::array<uint16_t, 4> kMagic{0x0421, 0x043A, 0x0438, 0x043D};
inline constexpr size_t kRootOffset = 72;
inline constexpr size_t kPictureCount = 76;
inline constexpr size_t kFontCount = 80;
inline constexpr size_t kStringBlock = 84;
inline constexpr size_t kStringCount = 88;
// "No record" in the named-node index.
inline constexpr uint32_t kNone = 0xFFFFFFFF;

inline constexpr size_t kRecordSize = 12;  // left, right, name; the node follows
inline constexpr size_t kNodeSize = 16;    // s0..s6 and the child count
inline constexpr size_t kChildSize = 4;

// The attribute kinds in the order of their sections.
enum class AttributeKind { integer, font, point, string, picture, color };
inline constexpr size_t kKindCount = 6;
inline constexpr std::array<size_t, kKindCount> kEntrySize{8, 8, 8, 4, 20, 8};

inline constexpr size_t index(AttributeKind kind) { return static_cast<size_t>(kind); }
inline constexpr size_t entry_size(AttributeKind kind) { return kEntrySize[index(kind)]; }

}  // namespace skin_format
