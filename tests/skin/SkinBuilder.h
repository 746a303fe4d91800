#pragma once
// Builds skin files byte by byte for the tests: a header, a string block, and
// nodes laid out wherever the test puts them, so that a test can also write
// files that break the format on purpose.
#include <cstdint>
#include <string>
#include <vector>

class SkinBuilder {
public:
    using Bytes = std::vector<uint8_t>;

    // An attribute entry: the name and the bytes after the name offset.
    struct Entry {
        std::u16string name;
        Bytes rest;
    };
    // One node: its six sections in kind order, and its children.
    struct Node {
        std::vector<Entry> sections[6];
        std::vector<Node> children;
    };

    static Bytes integer(int32_t value);
    static Bytes index32(uint32_t index);
    static Bytes point(int16_t x, int16_t y);
    static Bytes string(uint16_t index);
    static Bytes picture(std::vector<uint16_t> coordinates, uint8_t index, uint8_t flag);
    static Bytes color(uint8_t r, uint8_t g, uint8_t b, uint8_t unused);

    std::vector<std::u16string> pictures, fonts, strings;
    // Named nodes, written as a balanced search tree; sorted by name first.
    std::vector<std::pair<std::u16string, Node>> named;

    // The whole file. Entries are written in the order given, so an unsorted
    // section stays unsorted.
    Bytes build() const;

    static void put16(Bytes& b, size_t at, uint16_t v);
    static void put32(Bytes& b, size_t at, uint32_t v);
    static uint32_t get32(const Bytes& b, size_t at);
};
