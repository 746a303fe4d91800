#pragma once
// Message times. The store keeps FILETIMEs in UTC (100 ns units since
// 1601-01-01); the program shows local time, converted with the time-zone rules
// in force at each message's own date (not the offset in force now), using the
// user's default time zone.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace local_time {

constexpr int64_t kTicksPerSecond = 10000000;
// FILETIME of 1970-01-01T00:00:00.
constexpr int64_t kUnixEpoch = 116444736000000000LL;

int64_t now_utc();
int64_t utc_to_local(int64_t utc);
// For a local time that a clock change skips or repeats, the earlier offset wins.
int64_t local_to_utc(int64_t local);

// "2026-11-22T10:05:00" of a local FILETIME.
std::string to_iso8601(int64_t local);
// Parses "YYYY-MM-DDTHH:MM[:SS]" (a space may stand for the T) as a local FILETIME.
std::optional<int64_t> parse_iso8601(std::string_view text);

// Milliseconds since the Unix epoch of a UTC FILETIME, and back.
int64_t to_unix_ms(int64_t utc);
int64_t from_unix_ms(int64_t ms);

}  // namespace local_time
