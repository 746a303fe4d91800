#pragma once
// Display texts of message times in the user's default locale (ICU's default
// locale, which follows LC_ALL and LANG). Both operations take a FILETIME that
// is already local time, so the formatters work in GMT and no time-zone rule
// is applied a second time.
//
// Creating an ICU formatter costs far more than using one, and a first update
// formats every message of the store, so the formatters and their recent
// results are kept per thread and rebuilt only when the default locale changes.
#include <cstdint>
#include <string>

namespace locale_format {

// Short time without seconds: "10:05 AM" in en_US, "10:05" in de_DE.
std::u16string format_time(int64_t local);

// Full date with the weekday: "Sunday, November 22, 2026" in en_US,
// "Sonntag, 22. November 2026" in de_DE.
std::u16string format_long_date(int64_t local);

// Whether the user's short date puts the month before the day: the short
// date of 22 November 2000 shows "11" before "22" (en_US "11/22/00").
bool month_before_day();
// Day and month as digits, "dd.MM", or "MM.dd" where the month comes first:
// "22.11" in de_DE, "11.22" in en_US.
std::u16string format_day_month(int64_t local);

}  // namespace locale_format
