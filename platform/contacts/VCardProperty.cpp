#include "platform/contacts/VCardProperty.h"

namespace {

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool VCardProperty::equals_ignoring_case(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

std::string_view VCardProperty::trim_type(std::string_view item) {
    while (!item.empty() && (item.front() == ' ' || item.front() == '"')) item.remove_prefix(1);
    while (!item.empty() && (item.back() == ' ' || item.back() == '"')) item.remove_suffix(1);
    return item;
}

bool VCardProperty::is(std::string_view property_name) const {
    return equals_ignoring_case(name, property_name);
}

std::string_view VCardProperty::parameter(std::string_view parameter_name) const {
    for (const VCardParameter& p : parameters)
        if (equals_ignoring_case(p.name, parameter_name)) return p.value;
    return {};
}

bool VCardProperty::has_parameter(std::string_view parameter_name) const {
    for (const VCardParameter& p : parameters)
        if (equals_ignoring_case(p.name, parameter_name)) return true;
    return false;
}

bool VCardProperty::has_type(std::string_view type) const {
    bool found = false;
    for_each_type([&](std::string_view t) { found = found || equals_ignoring_case(t, type); });
    return found;
}

bool VCardProperty::is_preferred() const { return has_parameter("PREF") || has_type("pref"); }

bool VCardProperty::is_quoted_printable() const {
    return equals_ignoring_case(parameter("ENCODING"), "QUOTED-PRINTABLE");
}

bool VCardProperty::is_base64() const {
    std::string_view encoding = parameter("ENCODING");
    return equals_ignoring_case(encoding, "BASE64") || equals_ignoring_case(encoding, "b");
}
