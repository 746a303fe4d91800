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
