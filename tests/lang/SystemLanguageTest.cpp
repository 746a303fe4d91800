#include <gtest/gtest.h>

#include <string_view>
#include <utility>

#include "lang/SystemLanguage.h"
#include "support/DefaultLocale.h"

namespace {

TEST(SystemLanguage, NameComesFromTheDefaultLocalesLanguage) {
    EXPECT_EQ(system_language_name(), u"ENGLISH");  // LANG=en_US.UTF-8 of the test run
    for (auto [locale, name] : {std::pair<const char*, std::u16string_view>{"de_DE", u"GERMAN"},
                                {"ru_RU", u"RUSSIAN"},
                                {"pt_BR", u"PORTUGUESE"},
                                {"nb_NO", u"NORWEGIAN"},
                                {"sr_RS", u"CROATIAN"},
                                {"he_IL", u"HEBREW"},
                                {"ne_NP", u"NEPALI"},
                                {"haw_US", u""},
                                {"xx", u""}}) {
        DefaultLocale set(locale);
        EXPECT_EQ(system_language_name(), name) << locale;
    }
    EXPECT_EQ(system_language_name(), u"ENGLISH");
    // Identifiers in the table's gaps and past its end name no language.
    EXPECT_EQ(system_language_entry(0x17).name, u"");
    EXPECT_EQ(system_language_entry(kMaxPrimaryLanguage + 1).code, u"");
}

}  // namespace
