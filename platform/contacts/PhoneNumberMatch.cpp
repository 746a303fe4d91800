#include "platform/contacts/PhoneNumberMatch.h"

#include <string>

namespace {

constexpr size_t kMinimumDigits = 7;

std::u16string digits_of(std::u16string_view number) {
    std::u16string digits;
    for (char16_t c : number)
        if (c >= u'0' && c <= u'9') digits.push_back(c);
    return digits;
}

bool is_trunk_prefix(std::u16string_view rest) { return rest == u"0" || rest == u"8"; }

bool is_country_code(std::u16string_view rest) {
    for (std::u16string_view call_prefix : {u"00", u"011", u"810"}) {
        if (rest.size() > call_prefix.size() && rest.substr(0, call_prefix.size()) == call_prefix) {
            rest.remove_prefix(call_prefix.size());
            break;
        }
    }
    return !rest.empty() && rest.size() <= 3 && rest.front() != u'0';
}

}  // namespace

int phone_number_match(std::u16string_view a, std::u16string_view b) {
    std::u16string da = digits_of(a), db = digits_of(b);
    if (da.empty() || db.empty()) return 0;
    if (da.size() < kMinimumDigits || db.size() < kMinimumDigits)
        return da == db ? static_cast<int>(da.size()) + 1 : 0;
    size_t common = 0;
    while (common < da.size() && common < db.size() &&
           da[da.size() - 1 - common] == db[db.size() - 1 - common])
        ++common;
    if (common < kMinimumDigits) return 0;
    std::u16string_view rest_a = std::u16string_view(da).substr(0, da.size() - common);
    std::u16string_view rest_b = std::u16string_view(db).substr(0, db.size() - common);
    bool same = rest_a.empty() || rest_b.empty() ||
                (is_trunk_prefix(rest_a) && is_country_code(rest_b)) ||
                (is_trunk_prefix(rest_b) && is_country_code(rest_a));
    if (!same) return 0;
    return static_cast<int>(common) + (da == db ? 1 : 0);
}
