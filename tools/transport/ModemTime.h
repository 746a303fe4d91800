#pragma once
// The time a network stamped on an SMS, as ModemManager writes it: ISO 8601
// with seconds and the sender's offset ("2026-11-22T10:05:00+01:00"; also
// "+01", "+0100", "Z" and fractions of a second).
#include <cstdint>
#include <optional>
#include <string_view>

namespace modem_time {

// The UTC FILETIME of a stamp; nothing when the text is no such stamp, has
// no offset, or names a time before 1990 or more than a day after now (a
// network or modem with a broken clock).
std::optional<int64_t> parse(std::string_view text, int64_t now_utc);

}  // namespace modem_time
