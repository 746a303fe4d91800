#include "lang/SystemLanguage.h"

#include <unicode/locid.h>

#include <array>

namespace {

struct Known {
    uint32_t id;
    SystemLanguageEntry entry;
};

// The Windows primary language identifiers (LANG_* constants) that the table
// names. Identifiers missing here (0, 0x17, 0x28, 0x2E, ...) are empty entries.
// clang-format off
constexpr Known kKnown[] = {
    {0x01, {u"AR", u"ARABIC"}},      {0x02, {u"BG", u"BULGARIAN"}},  {0x03, {u"CA", u"CATALAN"}},
    {0x04, {u"ZH", u"CHINESE"}},     {0x05, {u"CS", u"CZECH"}},      {0x06, {u"DA", u"DANISH"}},
    {0x07, {u"DE", u"GERMAN"}},      {0x08, {u"EL", u"GREEK"}},      {0x09, {u"EN", u"ENGLISH"}},
    {0x0A, {u"ES", u"SPANISH"}},     {0x0B, {u"FI", u"FINNISH"}},    {0x0C, {u"FR", u"FRENCH"}},
    {0x0D, {u"HE", u"HEBREW"}},      {0x0E, {u"HU", u"HUNGARIAN"}},  {0x0F, {u"IS", u"ICELANDIC"}},
    {0x10, {u"IT", u"ITALIAN"}},     {0x11, {u"JA", u"JAPANESE"}},   {0x12, {u"KO", u"KOREAN"}},
    {0x13, {u"NL", u"DUTCH"}},       {0x14, {u"NO", u"NORWEGIAN"}},  {0x15, {u"PL", u"POLISH"}},
    {0x16, {u"PT", u"PORTUGUESE"}},  {0x18, {u"RO", u"ROMANIAN"}},   {0x19, {u"RU", u"RUSSIAN"}},
    {0x1A, {u"HR", u"CROATIAN"}},    {0x1B, {u"SK", u"SLOVAK"}},     {0x1C, {u"SQ", u"ALBANIAN"}},
    {0x1D, {u"SV", u"SWEDISH"}},     {0x1E, {u"TH", u"THAI"}},       {0x1F, {u"TR", u"TURKISH"}},
    {0x20, {u"UR", u"URDU"}},        {0x21, {u"ID", u"INDONESIAN"}}, {0x22, {u"UK", u"UKRAINIAN"}},
    {0x23, {u"BE", u"BYELORUSSIAN"}}, {0x24, {u"SL", u"SLOVENIAN"}}, {0x25, {u"ET", u"ESTONIAN"}},
    {0x26, {u"LV", u"LATVIAN"}},     {0x27, {u"LT", u"LITHUANIAN"}}, {0x29, {u"FA", u"PERSIAN"}},
    {0x2A, {u"VI", u"VIETNAMESE"}},  {0x2B, {u"HY", u"ARMENIAN"}},   {0x2C, {u"AZ", u"AZERBAIJANI"}},
    {0x2D, {u"EU", u"BASQUE"}},      {0x2F, {u"MK", u"MACEDONIAN"}}, {0x36, {u"AF", u"AFRIKAANS"}},
    {0x37, {u"KA", u"GEORGIAN"}},    {0x38, {u"FO", u"FAROESE"}},    {0x39, {u"HI", u"HINDI"}},
    {0x3E, {u"MS", u"MALAY"}},       {0x3F, {u"KK", u"KAZAKH"}},     {0x41, {u"SW", u"SWAHILI"}},
    {0x43, {u"UZ", u"UZBEK"}},       {0x44, {u"TT", u"TATAR"}},      {0x45, {u"BN", u"BENGALI"}},
    {0x46, {u"PA", u"PUNJABI"}},     {0x47, {u"GU", u"GUJARATI"}},   {0x48, {u"OR", u"ORIYA"}},
    {0x49, {u"TA", u"TAMIL"}},       {0x4A, {u"TE", u"TELUGU"}},     {0x4B, {u"KN", u"KANNADA"}},
    {0x4C, {u"ML", u"MALAYALAM"}},   {0x4D, {u"AS", u"ASSAMESE"}},   {0x4E, {u"MR", u"MARATHI"}},
    {0x4F, {u"SA", u"SANSKRIT"}},    {0x59, {u"SD", u"SINDHI"}},     {0x60, {u"KS", u"KASHMIRI"}},
    {0x61, {u"NE", u"NEPALI"}},
};
// clang-format on

constexpr std::array<SystemLanguageEntry, kMaxPrimaryLanguage + 1> kTable = [] {
    std::array<SystemLanguageEntry, kMaxPrimaryLanguage + 1> table{};
    for (const Known& known : kKnown) table[known.id] = known.entry;
    return table;
}();

// Codes that Windows files under the primary language of another code.
struct Alias {
    std::u16string_view code;
    std::u16string_view as;
};
constexpr Alias kAliases[] = {
    {u"NB", u"NO"}, {u"NN", u"NO"}, {u"SR", u"HR"}, {u"BS", u"HR"}, {u"IW", u"HE"}, {u"IN", u"ID"},
};

char16_t ascii_upper(char c) {
    return static_cast<char16_t>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
}

bool code_equals(std::string_view code, std::u16string_view table_code) {
    if (code.size() != table_code.size()) return false;
    for (size_t i = 0; i < code.size(); ++i)
        if (ascii_upper(code[i]) != table_code[i]) return false;
    return true;
}

uint32_t primary_of_table_code(std::u16string_view table_code) {
    for (const Known& known : kKnown)
        if (known.entry.code == table_code) return known.id;
    return 0;
}

}  // namespace

SystemLanguageEntry system_language_entry(uint32_t primary_id) {
    if (primary_id > kMaxPrimaryLanguage) return {};
    return kTable[primary_id];
}

uint32_t primary_language_of(std::string_view language_code) {
    if (language_code.empty()) return 0;
    for (const Known& known : kKnown)
        if (code_equals(language_code, known.entry.code)) return known.id;
    for (const Alias& alias : kAliases)
        if (code_equals(language_code, alias.code)) return primary_of_table_code(alias.as);
    return 0;
}

uint32_t user_default_primary_language() {
    return primary_language_of(icu::Locale::getDefault().getLanguage());
}

std::u16string system_language_name() {
    return std::u16string(system_language_entry(user_default_primary_language()).name);
}
