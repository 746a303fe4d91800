#pragma once
// Where the message templates are kept. The user's own templates are one
// registry string, "Templates" under HKEY_CURRENT_USER\Software\Zelvor\Quillmo,
// the templates in order joined by "/". Default templates come after them from
// the language's "DefaultTemplates" text in the same form; they are shown but
// never written back, so a change of language changes them and nothing else.
//
// The stored form has no escape and other versions of the program read it, so
// a "/" inside a template splits it in two on the next load. The editor should
// therefore not let a "/" into a template (see storable()).
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class Dictionary;

class TemplatesStore {
public:
    static constexpr char16_t kSettingsKey[] = u"HKEY_CURRENT_USER\\Software\\Zelvor\\Quillmo";
    static constexpr char16_t kValueName[] = u"Templates";
    static constexpr char16_t kDefaultsKey[] = u"DefaultTemplates";

    struct Templates {
        std::vector<std::u16string> list;  // the user's own first, then the defaults
        size_t user_count = 0;             // how many leading entries are the user's
    };

    // The user's templates (a missing or unreadable value gives none), then the
    // dictionary's default templates. A language without "DefaultTemplates"
    // has no defaults: unlike a label, a template is text the user sends, so
    // the key must not stand in for it.
    static Templates load(const Dictionary& dictionary);

    // Writes the first user_count entries of list joined by "/", or deletes the
    // value when user_count is 0. The entries behind them are defaults and
    // never written. Empty templates at the end of the user's list do not come
    // back (an empty last part reads as no part). False, with a log line, when
    // the registry refused the change. user_count beyond the list is a
    // programming error.
    static bool save(const std::vector<std::u16string>& list, size_t user_count);

    // The parts of a "/"-separated text: the text before each "/", empty parts
    // between two separators kept; a trailing "/" adds nothing, so "" gives none.
    static std::vector<std::u16string> split(std::u16string_view text);

    // Whether text comes back as the same one template after save and load: a
    // "/" would split it. The editor should refuse such a text rather than
    // replace the "/" by a look-alike, which would change what gets sent.
    static bool storable(std::u16string_view text) { return text.find(u'/') == text.npos; }
};
