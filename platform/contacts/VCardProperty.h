#pragma once
// One content line of a vCard, split into its parts but not yet decoded:
//
//     [group "."] name *(";" parameter) ":" value
//
// Every view points into the text the parser was given (or into the parser's
// own buffer for folded lines) and lives only as long as that text; see
// VCardParser. Names and parameter names compare case-insensitively, as
// RFC 2426 and RFC 6350 require.
#include <string_view>
#include <vector>

struct VCardParameter {
    // "TYPE" for a bare vCard 2.1 type ("TEL;CELL;PREF:") and "ENCODING" for
    // a bare 2.1 encoding ("QUOTED-PRINTABLE", "BASE64").
    std::string_view name;
    // Without enclosing double quotes; may be a comma-separated list.
    std::string_view value;
};

class VCardProperty {
public:
    std::string_view group;  // "item1" of "item1.TEL", else empty
    std::string_view name;
    std::vector<VCardParameter> parameters;
    std::string_view value;  // as written: transfer encoding, charset and escapes still in place

    bool is(std::string_view property_name) const;
    // The value of the first parameter of that name; empty when there is none.
    std::string_view parameter(std::string_view parameter_name) const;
    bool has_parameter(std::string_view parameter_name) const;

    // Calls visit(type) for each type the property is tagged with: every item
    // of every TYPE parameter's comma list, quotes and blanks trimmed.
    template <typename Visit>
    void for_each_type(Visit&& visit) const {
        for (const VCardParameter& p : parameters) {
            if (!equals_ignoring_case(p.name, "TYPE")) continue;
            std::string_view rest = p.value;
            while (!rest.empty()) {
                size_t comma = rest.find(',');
                std::string_view item = trim_type(rest.substr(0, comma));
                if (!item.empty()) visit(item);
                if (comma == std::string_view::npos) break;
                rest.remove_prefix(comma + 1);
            }
        }
    }
    bool has_type(std::string_view type) const;
    // Preferred: a PREF parameter (4.0 "PREF=1"), or "pref" among the types
    // (3.0 "TYPE=pref", 2.1 bare "PREF").
    bool is_preferred() const;

    bool is_quoted_printable() const;
    // ENCODING=BASE64 (2.1) or ENCODING=b (3.0).
    bool is_base64() const;
    // The declared CHARSET, or empty (then UTF-8).
    std::string_view charset() const { return parameter("CHARSET"); }

    static bool equals_ignoring_case(std::string_view a, std::string_view b);

private:
    static std::string_view trim_type(std::string_view item);
};
