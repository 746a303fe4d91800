#include <gtest/gtest.h>

#include <optional>

#include "platform/LocalTime.h"
#include "platform/LocaleFormat.h"
#include "support/DefaultLocale.h"

namespace {

int64_t at(const char* iso) { return *local_time::parse_iso8601(iso); }

}  // namespace

TEST(LocaleFormat, FormatsTheLocalTimeAsGivenInTheDefaultLocale) {
    std::optional<DefaultLocale> locale(std::in_place, "en_US");
    // Local already: whatever the machine's zone, 10:05 stays 10:05.
    EXPECT_EQ(locale_format::format_time(at("2026-11-22T10:05:59")), u"10:05 AM");
    EXPECT_EQ(locale_format::format_time(at("1969-12-31T22:05:00")), u"10:05 PM");
    EXPECT_EQ(locale_format::format_long_date(at("2026-11-22T23:59:59")),
              u"Sunday, November 22, 2026");
    EXPECT_EQ(locale_format::format_long_date(at("2026-11-23T00:00:00")),
              u"Monday, November 23, 2026");
    // 256 days apart: the per-day cache must not answer one with the other.
    EXPECT_EQ(locale_format::format_long_date(at("2026-01-01T12:00:00")),
              u"Thursday, January 1, 2026");
    EXPECT_EQ(locale_format::format_long_date(at("2026-09-14T12:00:00")),
              u"Monday, September 14, 2026");

    locale.emplace("de_DE");
    EXPECT_EQ(locale_format::format_time(at("2026-11-22T10:05:00")), u"10:05");
    EXPECT_EQ(locale_format::format_long_date(at("2026-11-22T10:05:00")),
              u"Sonntag, 22. November 2026");
}

TEST(LocaleFormat, DayAndMonthFollowTheOrderOfTheUsersShortDate) {
    std::optional<DefaultLocale> locale(std::in_place, "en_US");
    EXPECT_TRUE(locale_format::month_before_day());
    EXPECT_EQ(locale_format::format_day_month(at("2026-11-22T10:05:00")), u"11.22");
    EXPECT_EQ(locale_format::format_day_month(at("2026-03-04T23:59:00")), u"03.04");

    for (const char* day_first : {"de_DE", "ru_RU", "en_GB"}) {
        locale.emplace(day_first);
        EXPECT_FALSE(locale_format::month_before_day()) << day_first;
        EXPECT_EQ(locale_format::format_day_month(at("2026-11-22T10:05:00")), u"22.11")
            << day_first;
    }
    // Year first, then month, then day (ja_JP "2000/11/22"): the month still
    // comes before the day.
    locale.emplace("ja_JP");
    EXPECT_TRUE(locale_format::month_before_day());
    EXPECT_EQ(locale_format::format_day_month(at("2026-11-22T10:05:00")), u"11.22");
}
