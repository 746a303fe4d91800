// libFuzzer target for the key/value reader of language and smiley files: any
// bytes go through KeyValueFile::parse (the decoding, then the parsing), and
// every pair must be one the format can give: a key without white space or
// "=", a value without a line end. Anything else stops the target.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "lang/KeyValueFile.h"

namespace {

bool breaks_key(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f' ||
           c == u'=';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    KeyValueFile::Map pairs = KeyValueFile::parse(std::span<const uint8_t>(data, size));
    for (const auto& [key, value] : pairs) {
        if (key.empty()) std::abort();
        for (char16_t c : key)
            if (breaks_key(c)) std::abort();
        for (char16_t c : value)
            if (c == u'\r' || c == u'\n') std::abort();
    }
    return 0;
}
