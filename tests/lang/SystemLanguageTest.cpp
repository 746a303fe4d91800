#include <gtest/gtest.h>
#include <unicode/locid.h>

#include "lang/SystemLanguage.h"

namespace {

// Sets ICU's default locale for one test and puts the previous one back.
class DefaultLocale {
public:
    explicit DefaultLocale(const char* name) : saved_(icu::Locale::getDefault()) {
        UErrorCode status = U_ZERO_ERROR;
        icu::Locale::setDefault(icu::Locale(name), status);
    }
    ~DefaultLocale() {
        UErrorCode status = U_ZERO_ERROR;
        icu::Locale::setDefault(saved_, status);
    }

private:
    icu::Locale saved_;
};

TEST(SystemLanguage, TableFollowsTheWindowsPrimaryLanguageIdentifiers) {
    std::u16string names;
    for (uint32_t id = 0; id <= kMaxPrimaryLanguage; ++id) {
        SystemLanguageEntry entry = system_language_entry(id);
        EXPECT_EQ(entry.code.empty(), entry.name.empty()) << id;
        if (!entry.name.empty()) names += std::u16string(entry.name) + u",";
    }
    EXPECT_EQ(names,
              u"ARABIC,BULGARIAN,CATALAN,CHINESE,CZECH,DANISH,GERMAN,GREEK,ENGLISH,SPANISH,"
              u"FINNISH,FRENCH,HEBREW,HUNGARIAN,ICELANDIC,ITALIAN,JAPANESE,KOREAN,DUTCH,NORWEGIAN,"
              u"POLISH,PORTUGUESE,ROMANIAN,RUSSIAN,CROATIAN,SLOVAK,ALBANIAN,SWEDISH,THAI,TURKISH,"
              u"URDU,INDONESIAN,UKRAINIAN,BYELORUSSIAN,SLOVENIAN,ESTONIAN,LATVIAN,LITHUANIAN,"
              u"PERSIAN,VIETNAMESE,ARMENIAN,AZERBAIJANI,BASQUE,MACEDONIAN,AFRIKAANS,GEORGIAN,"
              u"FAROESE,HINDI,MALAY,KAZAKH,SWAHILI,UZBEK,TATAR,BENGALI,PUNJABI,GUJARATI,ORIYA,"
              u"TAMIL,TELUGU,KANNADA,MALAYALAM,ASSAMESE,MARATHI,SANSKRIT,SINDHI,KASHMIRI,NEPALI,");
    EXPECT_EQ(system_language_entry(0x07).code, u"DE");
    EXPECT_EQ(system_language_entry(0x0C).name, u"FRENCH");
    EXPECT_EQ(system_language_entry(0x17).name, u"");
    EXPECT_EQ(system_language_entry(0x18).name, u"ROMANIAN");
    EXPECT_EQ(system_language_entry(0x19).code, u"RU");
    EXPECT_EQ(system_language_entry(0x59).name, u"SINDHI");
    EXPECT_EQ(system_language_entry(0x61).name, u"NEPALI");
    EXPECT_EQ(system_language_entry(99).name, u"");
}

TEST(SystemLanguage, NameComesFromTheDefaultLocalesLanguage) {
    EXPECT_EQ(system_language_name(), u"ENGLISH");  // LANG=en_US.UTF-8 of the test run
    struct Case {
        const char* locale;
        std::u16string_view name;
    };
    for (const Case& c :
         {Case{"de_DE", u"GERMAN"}, Case{"ru_RU", u"RUSSIAN"}, Case{"pt_BR", u"PORTUGUESE"},
          Case{"nb_NO", u"NORWEGIAN"}, Case{"sr_RS", u"CROATIAN"}, Case{"he_IL", u"HEBREW"},
          Case{"ne_NP", u"NEPALI"}, Case{"haw_US", u""}, Case{"xx", u""}}) {
        DefaultLocale locale(c.locale);
        EXPECT_EQ(system_language_name(), c.name) << c.locale;
    }
    EXPECT_EQ(system_language_name(), u"ENGLISH");
}

}  // namespace
