#pragma once
// The system language: the user's default language as a Windows primary
// language identifier, and the table that names those identifiers. The
// language choice uses the English name in capitals ("GERMAN") as the name of
// the language file to try when no language was chosen yet.
//
// The user's default language is the language of ICU's default locale, which
// ICU takes from LC_ALL / LANG (de_DE.UTF-8 gives "de"). It is mapped to the
// primary identifier through the table's ISO 639-1 codes, plus the few codes
// that Windows files under another primary identifier (nb and nn under
// NORWEGIAN; sr and bs under CROATIAN; the old iw and in under HEBREW and
// INDONESIAN).
#include <cstdint>
#include <string>
#include <string_view>

struct SystemLanguageEntry {
    std::u16string_view code;  // ISO 639-1, capitals ("DE"); "" for an empty entry
    std::u16string_view name;  // English name, capitals ("GERMAN"); "" for an empty entry
};

// Highest primary language identifier the table holds.
constexpr uint32_t kMaxPrimaryLanguage = 98;

// The table entry of a primary language identifier (the low 10 bits of a
// Windows language identifier); an empty entry above kMaxPrimaryLanguage or
// where Windows defines no primary language.
SystemLanguageEntry system_language_entry(uint32_t primary_id);

// The primary identifier of a two-letter (or ICU) language code, in any letter
// case; 0 when the table has no such language.
uint32_t primary_language_of(std::string_view language_code);

// The primary identifier of the user's default language (ICU's default
// locale); 0 when it is not in the table.
uint32_t user_default_primary_language();

// The table's name of the user's default language, or "" when it is unknown.
std::u16string system_language_name();
