#include "skin/SkinBuilder.h"

#include <algorithm>
#include <map>

namespace {

constexpr uint32_t kNone = 0xFFFFFFFF;

uint32_t add_string(SkinBuilder::Bytes& out, const std::u16string& text) {
    uint32_t at = static_cast<uint32_t>(out.size());
    for (char16_t c : text) {
        out.push_back(static_cast<uint8_t>(c));
        out.push_back(static_cast<uint8_t>(c >> 8));
    }
    out.push_back(0);
    out.push_back(0);
    return at;
}

struct Writer {
    SkinBuilder::Bytes& out;
    std::map<std::u16string, uint32_t> names;

    uint32_t name(const std::u16string& text) {
        auto it = names.find(text);
        if (it != names.end()) return it->second;
        return names[text] = add_string(out, text);
    }

    // Names of all attributes first, so they stay within the first 64 KiB.
    void collect(const SkinBuilder::Node& node) {
        for (const auto& section : node.sections)
            for (const auto& entry : section) name(entry.name);
        for (const auto& child : node.children) collect(child);
    }

    // Children first, then record_size bytes for the caller's index record,
    // then the node itself; returns where the record (or node) starts.
    uint32_t node(const SkinBuilder::Node& node, size_t record_size = 0) {
        std::vector<uint32_t> children;
        for (const auto& child : node.children) children.push_back(this->node(child));
        out.resize(out.size() + record_size);
        uint32_t at = static_cast<uint32_t>(out.size());
        size_t head = 16 + 4 * children.size();
        out.resize(at + head);
        size_t offset = head;
        for (size_t kind = 0; kind < 6; ++kind) {
            SkinBuilder::put16(out, at + 2 * kind, static_cast<uint16_t>(offset));
            for (const auto& entry : node.sections[kind]) {
                size_t e = out.size();
                out.resize(e + 2);
                SkinBuilder::put16(out, e, static_cast<uint16_t>(name(entry.name)));
                out.insert(out.end(), entry.rest.begin(), entry.rest.end());
                offset += 2 + entry.rest.size();
            }
        }
        SkinBuilder::put16(out, at + 12, static_cast<uint16_t>(offset));
        SkinBuilder::put16(out, at + 14, static_cast<uint16_t>(children.size()));
        for (size_t i = 0; i < children.size(); ++i)
            SkinBuilder::put32(out, at + 16 + 4 * i, children[i]);
        return at - static_cast<uint32_t>(record_size);
    }

    uint32_t tree(const std::vector<std::pair<std::u16string, SkinBuilder::Node>>& named,
                  size_t low, size_t high) {
        if (low >= high) return kNone;
        size_t middle = (low + high) / 2;
        uint32_t left = tree(named, low, middle), right = tree(named, middle + 1, high);
        uint32_t name_at = name(named[middle].first);
        uint32_t at = node(named[middle].second, 12);
        SkinBuilder::put32(out, at, left);
        SkinBuilder::put32(out, at + 4, right);
        SkinBuilder::put32(out, at + 8, name_at);
        return at;
    }
};

}  // namespace

void SkinBuilder::put16(Bytes& b, size_t at, uint16_t v) {
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}
void SkinBuilder::put32(Bytes& b, size_t at, uint32_t v) {
    put16(b, at, static_cast<uint16_t>(v));
    put16(b, at + 2, static_cast<uint16_t>(v >> 16));
}
uint32_t SkinBuilder::get32(const Bytes& b, size_t at) {
    return static_cast<uint32_t>(b[at] | b[at + 1] << 8 | b[at + 2] << 16) |
           static_cast<uint32_t>(b[at + 3]) << 24;
}

SkinBuilder::Bytes SkinBuilder::integer(int32_t value) {
    Bytes b(6, 0);
    put32(b, 2, static_cast<uint32_t>(value));
    return b;
}
SkinBuilder::Bytes SkinBuilder::index32(uint32_t index) {
    return integer(static_cast<int32_t>(index));
}
SkinBuilder::Bytes SkinBuilder::point(int16_t x, int16_t y) {
    Bytes b(6, 0);
    put16(b, 2, static_cast<uint16_t>(x));
    put16(b, 4, static_cast<uint16_t>(y));
    return b;
}
SkinBuilder::Bytes SkinBuilder::string(uint16_t index) {
    Bytes b(2, 0);
    put16(b, 0, index);
    return b;
}
SkinBuilder::Bytes SkinBuilder::picture(std::vector<uint16_t> coordinates, uint8_t index,
                                        uint8_t flag) {
    Bytes b(18, 0);
    for (size_t i = 0; i < 8 && i < coordinates.size(); ++i) put16(b, 2 * i, coordinates[i]);
    b[16] = index;
    b[17] = flag;
    return b;
}
SkinBuilder::Bytes SkinBuilder::color(uint8_t r, uint8_t g, uint8_t b, uint8_t unused) {
    return {0, 0, r, g, b, unused};
}

SkinBuilder::Bytes SkinBuilder::build() const {
    Bytes out(92, 0);
    const uint16_t magic[4] = {0x0421, 0x043A, 0x0438, 0x043D};
    for (size_t i = 0; i < 4; ++i) put16(out, 2 * i, magic[i]);
    put32(out, 76, static_cast<uint32_t>(pictures.size()));
    put32(out, 80, static_cast<uint32_t>(fonts.size()));
    put32(out, 88, static_cast<uint32_t>(strings.size()));
    put32(out, 84, static_cast<uint32_t>(out.size()));
    for (const auto* list : {&pictures, &fonts, &strings})
        for (const auto& text : *list) add_string(out, text);
    Writer writer{out, {}};
    auto sorted = named;
    std::sort(sorted.begin(), sorted.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [name, node] : sorted) writer.collect(node);
    put32(out, 72, writer.tree(sorted, 0, sorted.size()));
    return out;
}
