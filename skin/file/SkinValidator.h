#pragma once
// Checks the whole structure of a skin file once, at load, so that lookups can
// later read in place without any bounds checks of their own.
//
// A file passes when every offset it holds points inside it: the string block
// and each of its strings, every index record, its name and its node, every
// node's section bounds and child offsets, and the name of every attribute.
// Also: section bounds never decrease, each section is a whole number of
// entries, entries are strictly ascending by name, the index tree is ordered by
// name, every font, string and picture index is below its list's count, and
// the nodes form a tree: no node is the child of two parents or its own
// ancestor, so walking the children always ends.
#include <cstdint>
#include <string>
#include <vector>

#include "skin/file/SkinBytes.h"

class SkinValidator {
public:
    // bytes must hold at least the header; the magic is not checked here.
    explicit SkinValidator(SkinBytes bytes);

    // Empty when the file is sound, otherwise a short description of the
    // first fault found.
    const std::string& fault() const { return fault_; }
    bool ok() const { return fault_.empty(); }

    // Offsets of the strings of the string block, in block order: picture
    // names, then font descriptions, then string values.
    const std::vector<uint32_t>& strings() const { return strings_; }

private:
    bool check_strings();
    bool check_index();
    bool check_tree(uint32_t root);
    bool check_node(uint32_t node);
    bool check_section(size_t kind, uint32_t begin, uint32_t end);
    bool fail(std::string what);

    SkinBytes bytes_;
    uint32_t pictures_ = 0, fonts_ = 0, values_ = 0;
    std::vector<uint32_t> strings_;
    std::vector<uint32_t> named_;  // nodes behind the index records
    std::vector<uint8_t> marks_;   // per file byte: kChecked, kIsChild
    std::string fault_;
};
