#include "tools/device/SurrogateReferences.h"

#include <cstdint>
#include <optional>

namespace {

struct Reference {
    uint32_t code = 0;
    size_t length = 0;  // bytes from '&' to ';' inclusive
};

// A numeric character reference ("&#NNN;" or "&#xHHH;") starting at at.
std::optional<Reference> reference_at(std::string_view xml, size_t at) {
    if (xml.compare(at, 2, "&#") != 0) return std::nullopt;
    size_t i = at + 2;
    bool hex = i < xml.size() && xml[i] == 'x';
    if (hex) ++i;
    uint32_t code = 0;
    size_t digits = 0;
    for (; i < xml.size() && xml[i] != ';'; ++i, ++digits) {
        char c = xml[i];
        int d = c >= '0' && c <= '9'          ? c - '0'
                : hex && c >= 'a' && c <= 'f' ? c - 'a' + 10
                : hex && c >= 'A' && c <= 'F' ? c - 'A' + 10
                                              : -1;
        // Longer than any valid reference: left for the parser to judge.
        if (d < 0 || digits >= 8) return std::nullopt;
        code = code * (hex ? 16 : 10) + static_cast<uint32_t>(d);
    }
    if (digits == 0 || i >= xml.size()) return std::nullopt;
    return Reference{code, i + 1 - at};
}

bool is_high(uint32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool is_low(uint32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Copies a markup section that may hold "&#" without it being a reference.
bool copy_section(std::string_view xml, size_t& at, std::string& out, std::string_view open,
                  std::string_view close) {
    if (xml.compare(at, open.size(), open) != 0) return false;
    size_t end = xml.find(close, at + open.size());
    end = end == std::string_view::npos ? xml.size() : end + close.size();
    out.append(xml.substr(at, end - at));
    at = end;
    return true;
}

}  // namespace

std::string join_surrogate_references(std::string_view xml) {
    std::string out;
    out.reserve(xml.size());
    size_t at = 0;
    while (at < xml.size()) {
        size_t next = xml.find_first_of("<&", at);
        if (next == std::string_view::npos) next = xml.size();
        out.append(xml.substr(at, next - at));
        at = next;
        if (at >= xml.size()) break;
        if (copy_section(xml, at, out, "<!--", "-->") ||
            copy_section(xml, at, out, "<![CDATA[", "]]>") ||
            copy_section(xml, at, out, "<?", "?>"))
            continue;
        std::optional<Reference> ref = reference_at(xml, at);
        if (!ref || !(is_high(ref->code) || is_low(ref->code))) {
            out.push_back(xml[at++]);
            continue;
        }
        uint32_t code = 0xFFFD;
        size_t length = ref->length;
        if (is_high(ref->code)) {
            std::optional<Reference> second = reference_at(xml, at + ref->length);
            if (second && is_low(second->code)) {
                code = 0x10000 + ((ref->code - 0xD800) << 10) + (second->code - 0xDC00);
                length += second->length;
            }
        }
        out += "&#" + std::to_string(code) + ";";
        at += length;
    }
    return out;
}
