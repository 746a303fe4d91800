#include "platform/Utf16.h"

#include <unicode/ustring.h>
#include <unicode/utypes.h>

namespace utf16 {

std::u16string from_utf8(std::string_view text) {
    if (text.empty()) return {};
    std::u16string out(text.size(), u'\0');
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length, text.data(),
                         static_cast<int32_t>(text.size()), 0xFFFD, nullptr, &status);
    if (U_FAILURE(status)) return {};
    out.resize(static_cast<size_t>(length));
    return out;
}

std::string to_utf8(std::u16string_view text) {
    if (text.empty()) return {};
    std::string out(text.size() * 3, '\0');
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strToUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length,
                       reinterpret_cast<const UChar*>(text.data()),
                       static_cast<int32_t>(text.size()), 0xFFFD, nullptr, &status);
    if (U_FAILURE(status)) return {};
    out.resize(static_cast<size_t>(length));
    return out;
}

std::u16string from_ascii(std::string_view text) {
    return std::u16string(text.begin(), text.end());
}

std::u16string number(long long value) { return from_ascii(std::to_string(value)); }

}  // namespace utf16
