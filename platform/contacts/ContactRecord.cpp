#include "platform/contacts/ContactRecord.h"

#include <algorithm>

namespace {

// Indexed by field type; the last entry names every type outside 0..22.
constexpr const char16_t* kFieldNames[kContactFieldCount + 1] = {
    u"Mobile",   u"BusinessTel", u"Business2Tel",   u"HomeTel",       u"Home2Tel",
    u"CarTel",   u"RadioTel",    u"CompanyMainTel", u"AssistantTel",  u"Email1",
    u"Email2",   u"Email3",      u"WebPage",        u"MiddleName",    u"Suffix",
    u"NickName", u"Department",  u"JobTitle",       u"AssistantName", u"BusinessFax",
    u"HomeFax",  u"PagerNumber", u"FileAs",         u"Unknown",
};

const std::u16string kEmpty;

}  // namespace

const char16_t* contact_field_name(int type) {
    if (type < 0 || type >= kContactFieldCount) return kFieldNames[kContactFieldCount];
    return kFieldNames[type];
}

const std::u16string& ContactRecord::field(ContactField type) const {
    for (const auto& [t, text] : fields)
        if (t == type) return text;
    return kEmpty;
}

void ContactRecord::set_field(ContactField type, std::u16string text) {
    auto at = std::lower_bound(fields.begin(), fields.end(), type,
                               [](const auto& entry, ContactField t) { return entry.first < t; });
    bool present = at != fields.end() && at->first == type;
    if (text.empty()) {
        if (present) fields.erase(at);
    } else if (present) {
        at->second = std::move(text);
    } else {
        fields.emplace(at, type, std::move(text));
    }
}

std::u16string ContactRecord::display_name() const {
    const std::u16string& file_as = field(ContactField::FileAs);
    if (!file_as.empty()) return file_as;
    std::u16string name = last_name;
    if (!name.empty() && !first_name.empty()) name += u' ';
    name += first_name;
    if (!name.empty()) return name;
    return company;
}
