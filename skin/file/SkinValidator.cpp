#include "skin/file/SkinValidator.h"

#include <utility>

#include "skin/file/SkinFormat.h"

using namespace skin_format;

namespace {
constexpr uint8_t kChecked = 1;  // the node at this offset has been checked
constexpr uint8_t kIsChild = 2;  // some node names the node at this offset as a child
constexpr uint8_t kRecord = 4;   // an index record at this offset has been seen
}  // namespace

SkinValidator::SkinValidator(SkinBytes bytes) : bytes_(bytes) {
    pictures_ = bytes_.u32(kPictureCount);
    fonts_ = bytes_.u32(kFontCount);
    values_ = bytes_.u32(kStringCount);
    marks_.assign(bytes_.size(), 0);
    if (!check_strings() || !check_index()) return;
    for (uint32_t node : named_)
        if (!(marks_[node] & kChecked) && !check_tree(node)) return;
}

bool SkinValidator::fail(std::string what) {
    fault_ = std::move(what);
    strings_.clear();
    return false;
}

bool SkinValidator::check_strings() {
    uint64_t count = uint64_t{pictures_} + fonts_ + values_;
    // Every string takes at least its terminator, so a count beyond that is
    // a lie, found before reserving room for it.
    if (count > bytes_.size() / 2) return fail("string count larger than the file");
    strings_.reserve(count);
    uint64_t at = bytes_.u32(kStringBlock);
    for (uint64_t i = 0; i < count; ++i) {
        auto length = bytes_.string_length(at);
        if (!length) return fail("string block runs past the end of the file");
        strings_.push_back(static_cast<uint32_t>(at));
        at += 2 * (*length + 1);
    }
    return true;
}

// Walks the named-node index in name order (iteratively: a hostile file may
// chain records as deep as it likes) and requires strictly ascending names.
bool SkinValidator::check_index() {
    std::vector<uint32_t> stack;
    uint32_t at = bytes_.u32(kRootOffset);
    bool have_previous = false;
    uint32_t previous = 0;
    while (at != kNone || !stack.empty()) {
        while (at != kNone) {
            if (!bytes_.holds(at, kRecordSize + kNodeSize))
                return fail("index record outside the file");
            if (marks_[at] & kRecord) return fail("index record reached twice");
            marks_[at] |= kRecord;
            if (!bytes_.string_length(bytes_.u32(at + 8)))
                return fail("index name outside the file");
            stack.push_back(at);
            at = bytes_.u32(at);
        }
        uint32_t record = stack.back();
        stack.pop_back();
        uint32_t name = bytes_.u32(record + 8);
        if (have_previous && bytes_.compare(previous, name) != std::strong_ordering::less)
            return fail("index records not ordered by name");
        have_previous = true;
        previous = name;
        named_.push_back(record + static_cast<uint32_t>(kRecordSize));
        at = bytes_.u32(record + 4);
    }
    return true;
}

bool SkinValidator::check_tree(uint32_t root) {
    std::vector<uint32_t> pending{root};
    marks_[root] |= kChecked;
    while (!pending.empty()) {
        uint32_t node = pending.back();
        pending.pop_back();
        if (!check_node(node)) return false;
        size_t count = bytes_.u16(node + 14);
        for (size_t i = 0; i < count; ++i) {
            uint32_t child = bytes_.u32(node + kNodeSize + kChildSize * i);
            if (!bytes_.holds(child, kNodeSize)) return fail("child node outside the file");
            if (child == root) return fail("node is its own ancestor");
            if (marks_[child] & kIsChild) return fail("node is the child of two parents");
            marks_[child] |= kIsChild;
            if (marks_[child] & kChecked) continue;  // a named node checked before
            marks_[child] |= kChecked;
            pending.push_back(child);
        }
    }
    return true;
}

bool SkinValidator::check_node(uint32_t node) {
    if (!bytes_.holds(node, kNodeSize)) return fail("node outside the file");
    if (!bytes_.holds(node + kNodeSize, uint64_t{kChildSize} * bytes_.u16(node + 14)))
        return fail("child offsets outside the file");
    uint32_t bounds[kKindCount + 1];
    for (size_t i = 0; i <= kKindCount; ++i) {
        bounds[i] = bytes_.u16(node + 2 * i);
        if (i > 0 && bounds[i] < bounds[i - 1]) return fail("section bounds decrease");
    }
    if (!bytes_.holds(node, bounds[kKindCount])) return fail("sections outside the file");
    for (size_t kind = 0; kind < kKindCount; ++kind)
        if (!check_section(kind, node + bounds[kind], node + bounds[kind + 1])) return false;
    return true;
}

bool SkinValidator::check_section(size_t kind, uint32_t begin, uint32_t end) {
    size_t size = kEntrySize[kind];
    if ((end - begin) % size != 0) return fail("section not a whole number of entries");
    for (uint32_t at = begin; at < end; at += static_cast<uint32_t>(size)) {
        uint16_t name = bytes_.u16(at);
        if (!bytes_.string_length(name)) return fail("attribute name outside the file");
        if (at > begin && bytes_.compare(bytes_.u16(at - size), name) != std::strong_ordering::less)
            return fail("section not sorted by name");
        switch (static_cast<AttributeKind>(kind)) {
            case AttributeKind::font:
                if (bytes_.u32(at + 4) >= fonts_) return fail("font index out of range");
                break;
            case AttributeKind::string:
                if (bytes_.u16(at + 2) >= values_) return fail("string index out of range");
                break;
            case AttributeKind::picture:
                if (bytes_.u8(at + 18) >= pictures_) return fail("picture index out of range");
                break;
            default:
                break;
        }
    }
    return true;
}
