#include "lang/KeyValueFile.h"

#include <vector>

#include "platform/Log.h"
#include "platform/Paths.h"
#include "platform/WholeFile.h"

namespace {

bool is_space(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f';
}

bool is_line_end(char16_t c) { return c == u'\r' || c == u'\n'; }

}  // namespace

std::u16string KeyValueFile::decode(std::span<const uint8_t> bytes) {
    std::u16string text;
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        size_t units = (bytes.size() - 2) / 2;
        text.reserve(units);
        for (size_t i = 0; i < units; ++i)
            text.push_back(static_cast<char16_t>(bytes[2 + 2 * i] | bytes[3 + 2 * i] << 8));
    } else {
        text.assign(bytes.begin(), bytes.end());
    }
    return text;
}

KeyValueFile::Map KeyValueFile::parse_text(std::u16string_view text) {
    Map pairs;
    const size_t n = text.size();
    size_t i = 0;
    while (true) {
        while (i < n && is_space(text[i])) ++i;
        if (i == n) break;
        // Here text[i] is no white space, so each round takes at least one
        // character: a key character or the "=".
        size_t key_start = i;
        while (i < n && !is_space(text[i]) && text[i] != u'=') ++i;
        std::u16string_view key = text.substr(key_start, i - key_start);
        if (i < n && text[i] == u'=') {
            ++i;
        } else {
            while (i < n && (text[i] == u' ' || text[i] == u'\t')) ++i;
        }
        size_t value_start = i;
        while (i < n && !is_line_end(text[i])) ++i;
        if (!key.empty())
            pairs.insert_or_assign(std::u16string(key),
                                   std::u16string(text.substr(value_start, i - value_start)));
    }
    return pairs;
}

KeyValueFile::Map KeyValueFile::parse(std::span<const uint8_t> bytes) {
    return parse_text(decode(bytes));
}

std::optional<KeyValueFile::Map> KeyValueFile::load(std::u16string_view path) {
    std::u16string expanded = paths::expand(path);
    std::vector<uint8_t> bytes;
    std::string error;
    switch (WholeFile::read(paths::native(expanded), kMaxFileSize, bytes, &error)) {
        case WholeFile::Status::Ok:
            return parse(bytes);
        case WholeFile::Status::Missing:
            return std::nullopt;
        case WholeFile::Status::Failed:
            log() << u"key_value_file: cannot read " << expanded << u": " << error << u"\n";
            return std::nullopt;
    }
    return std::nullopt;
}
