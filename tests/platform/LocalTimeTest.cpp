#include <gtest/gtest.h>

#include "platform/LocalTime.h"

namespace {

TEST(LocalTime, ParsesAndPrintsIsoLocalTimes) {
    auto t = local_time::parse_iso8601("2026-11-22T10:05:00");
    ASSERT_TRUE(t);
    EXPECT_EQ(local_time::to_iso8601(*t), "2026-11-22T10:05:00");
    EXPECT_EQ(local_time::to_iso8601(*local_time::parse_iso8601("2024-02-29 23:59")),
              "2024-02-29T23:59:00");
    EXPECT_FALSE(local_time::parse_iso8601("2026-02-30T10:00:00"));
    EXPECT_FALSE(local_time::parse_iso8601("2026-11-22T10:05:00Z"));
    EXPECT_FALSE(local_time::parse_iso8601("yesterday"));
    EXPECT_EQ(local_time::to_unix_ms(local_time::from_unix_ms(1700000000123)), 1700000000123);
}

// The zone of this test program is fixed to Europe/Berlin by the build.
TEST(LocalTime, UsesTheRulesInForceAtTheMessagesOwnDate) {
    int64_t winter = local_time::from_unix_ms(1768478400000);  // 2026-01-15T12:00:00Z
    int64_t summer = local_time::from_unix_ms(1784116800000);  // 2026-07-15T12:00:00Z
    EXPECT_EQ(local_time::to_iso8601(local_time::utc_to_local(winter)), "2026-01-15T13:00:00");
    EXPECT_EQ(local_time::to_iso8601(local_time::utc_to_local(summer)), "2026-07-15T14:00:00");
    EXPECT_EQ(local_time::local_to_utc(local_time::utc_to_local(summer)), summer);
}

}  // namespace
