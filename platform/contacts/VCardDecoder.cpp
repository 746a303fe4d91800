#include "platform/contacts/VCardDecoder.h"

#include <unicode/ucnv.h>

#include <algorithm>

#include "platform/Log.h"
#include "platform/Utf16.h"

namespace {

constexpr size_t kMaxConverters = 16;
constexpr int kMaxUnknownLogged = 20;

int hex_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

int base64_value(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+' || c == '-') return 62;  // '-' and '_': the URL-safe alphabet
    if (c == '/' || c == '_') return 63;
    return -1;
}

bool is_utf8_name(std::string_view charset) {
    return charset.empty() || VCardProperty::equals_ignoring_case(charset, "UTF-8") ||
           VCardProperty::equals_ignoring_case(charset, "UTF8") ||
           VCardProperty::equals_ignoring_case(charset, "US-ASCII");
}

std::u16string trimmed(std::u16string_view s) {
    auto blank = [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return std::u16string(s);
}

}  // namespace

struct VCardDecoder::Converter {
    std::string name;              // as declared
    UConverter* handle = nullptr;  // null: ICU does not know the charset
    ~Converter() {
        if (handle) ucnv_close(handle);
    }
};

VCardDecoder::VCardDecoder() = default;
VCardDecoder::~VCardDecoder() = default;

void VCardDecoder::decode_quoted_printable(std::string_view in, std::string& out) {
    out.clear();
    out.reserve(in.size());
    for (size_t i = 0; i < in.size(); ++i) {
        char c = in[i];
        if (c != '=') {
            out.push_back(c);
            continue;
        }
        if (i + 1 == in.size()) break;
        int high = i + 2 < in.size() ? hex_value(in[i + 1]) : -1;
        int low = high >= 0 ? hex_value(in[i + 2]) : -1;
        if (low < 0) {
            out.push_back(c);
            continue;
        }
        out.push_back(static_cast<char>(high << 4 | low));
        i += 2;
    }
}

bool VCardDecoder::decode_base64(std::string_view in, std::string& out) {
    out.clear();
    out.reserve(in.size() / 4 * 3);
    uint32_t bits = 0;
    int count = 0;
    for (char c : in) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
        if (c == '=') break;
        int v = base64_value(c);
        if (v < 0) return false;
        bits = bits << 6 | static_cast<uint32_t>(v);
        if (++count == 4) {
            out.push_back(static_cast<char>(bits >> 16));
            out.push_back(static_cast<char>(bits >> 8));
            out.push_back(static_cast<char>(bits));
            bits = 0;
            count = 0;
        }
    }
    if (count == 2) out.push_back(static_cast<char>(bits >> 4));
    if (count == 3) {
        out.push_back(static_cast<char>(bits >> 10));
        out.push_back(static_cast<char>(bits >> 2));
    }
    return true;
}

std::u16string VCardDecoder::unescape(std::u16string_view in) {
    std::u16string out;
    out.reserve(in.size());
    for (size_t i = 0; i < in.size(); ++i) {
        char16_t c = in[i];
        if (c == u'\\' && i + 1 < in.size()) {
            char16_t next = in[i + 1];
            if (next == u'n' || next == u'N') {
                out.push_back(u'\n');
                ++i;
                continue;
            }
            if (next == u'\\' || next == u',' || next == u';' || next == u':') {
                out.push_back(next);
                ++i;
                continue;
            }
        }
        out.push_back(c);
    }
    return out;
}

std::u16string VCardDecoder::convert(std::string_view bytes, std::string_view charset) {
    if (is_utf8_name(charset)) return utf16::from_utf8(bytes);
    Converter* converter = nullptr;
    for (auto& c : converters_)
        if (VCardProperty::equals_ignoring_case(c->name, charset)) converter = c.get();
    if (converter == nullptr) {
        auto added = std::make_unique<Converter>();
        added->name = std::string(charset);
        UErrorCode status = U_ZERO_ERROR;
        added->handle = ucnv_open(added->name.c_str(), &status);
        if (U_FAILURE(status)) {
            if (added->handle) ucnv_close(added->handle);
            added->handle = nullptr;
            if (unknown_logged_ < kMaxUnknownLogged)
                log() << "contacts: unknown charset " << added->name << ", read as UTF-8\n";
            else if (unknown_logged_ == kMaxUnknownLogged)
                log() << "contacts: more unknown charsets, no longer logged\n";
            if (unknown_logged_ <= kMaxUnknownLogged) ++unknown_logged_;
        }
        // A file may name any number of charsets; only the latest few are
        // kept, so neither memory nor the search above grows with them.
        if (converters_.size() == kMaxConverters) converters_.erase(converters_.begin());
        converter = added.get();
        converters_.push_back(std::move(added));
    }
    if (converter->handle == nullptr || bytes.empty()) return utf16::from_utf8(bytes);

    // One byte never gives more than two UTF-16 units; retry once if a
    // converter proves otherwise.
    std::u16string out(bytes.size() * 2 + 1, u'\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        UErrorCode status = U_ZERO_ERROR;
        int32_t length = ucnv_toUChars(converter->handle, reinterpret_cast<UChar*>(out.data()),
                                       static_cast<int32_t>(out.size()), bytes.data(),
                                       static_cast<int32_t>(bytes.size()), &status);
        if (status == U_BUFFER_OVERFLOW_ERROR) {
            out.assign(static_cast<size_t>(length) + 1, u'\0');
            continue;
        }
        if (U_FAILURE(status)) return utf16::from_utf8(bytes);
        out.resize(static_cast<size_t>(length));
        return out;
    }
    return utf16::from_utf8(bytes);
}

std::u16string VCardDecoder::raw_text(const VCardProperty& property) {
    std::string_view bytes = property.value;
    if (property.is_quoted_printable()) {
        decode_quoted_printable(bytes, scratch_);
        bytes = scratch_;
    } else if (property.is_base64()) {
        if (!decode_base64(bytes, scratch_)) return {};
        bytes = scratch_;
    }
    return convert(bytes, property.charset());
}

std::u16string VCardDecoder::text(const VCardProperty& property) {
    return trimmed(unescape(raw_text(property)));
}

std::vector<std::u16string> VCardDecoder::components(const VCardProperty& property) {
    std::u16string raw = raw_text(property);
    std::vector<std::u16string> parts;
    size_t start = 0;
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == u'\\') {
            ++i;  // an escaped character never splits
        } else if (raw[i] == u';') {
            parts.push_back(trimmed(unescape(std::u16string_view(raw).substr(start, i - start))));
            start = i + 1;
        }
    }
    parts.push_back(
        trimmed(unescape(std::u16string_view(raw).substr(std::min(start, raw.size())))));
    return parts;
}
