#include "platform/LocaleFormat.h"

#include <unicode/datefmt.h>
#include <unicode/locid.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

#include <array>
#include <memory>
#include <string>

#include "platform/LocalTime.h"

namespace locale_format {
namespace {

constexpr int64_t kTicksPerMinute = 60 * local_time::kTicksPerSecond;
constexpr int64_t kMinutesPerDay = 24 * 60;
constexpr int64_t kTicksPerDay = kMinutesPerDay * kTicksPerMinute;
constexpr int64_t kDaySlots = 256;

int64_t floor_div(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

// ICU formats in GMT because the FILETIME is local time already.
std::unique_ptr<icu::DateFormat> make_formatter(icu::DateFormat* created) {
    std::unique_ptr<icu::DateFormat> format(created);
    if (format) format->adoptTimeZone(icu::TimeZone::createTimeZone(u"GMT"));
    return format;
}

// Newer locale data separates the time from "AM"/"PM" with a narrow no-break
// space (U+202F) and some locales use U+00A0; the skins' fonts and the list
// layout expect a plain space, which is also what the handset showed.
std::u16string to_text(const icu::UnicodeString& text) {
    std::u16string out(text.getBuffer(), static_cast<size_t>(text.length()));
    for (char16_t& c : out)
        if (c == u'\u202F' || c == u'\u00A0') c = u' ';
    return out;
}

std::u16string format(icu::DateFormat* format, int64_t local);

// The user's short date of 22 November 2000: the month comes first when "11"
// stands before "22" in it. A format that shows neither (a month name) keeps
// the day first.
bool month_comes_first() {
    std::unique_ptr<icu::DateFormat> short_date =
        make_formatter(icu::DateFormat::createDateInstance(icu::DateFormat::kShort));
    // 22 November 2000, noon.
    const int64_t kTestDay =
        (local_time::kUnixEpoch / local_time::kTicksPerSecond + int64_t{974894400}) *
        local_time::kTicksPerSecond;
    std::u16string text = format(short_date.get(), kTestDay);
    size_t month = text.find(u"11");
    size_t day = text.find(u"22");
    return month != std::u16string::npos && day != std::u16string::npos && month < day;
}

struct Slot {
    bool used = false;
    int64_t key = 0;
    std::u16string text;
};

// The formatters of one thread and what they produced: a time text depends
// only on the minute of the day, a date text on the day.
struct Formatters {
    std::string locale;
    std::unique_ptr<icu::DateFormat> time;
    std::unique_ptr<icu::DateFormat> date;
    std::unique_ptr<icu::DateFormat> day_month;
    bool month_first = false;
    std::array<Slot, kMinutesPerDay> minutes;
    std::array<Slot, static_cast<size_t>(kDaySlots)> days;

    void refresh() {
        const char* name = icu::Locale::getDefault().getName();
        if (time && locale == name) return;
        locale = name;
        time = make_formatter(icu::DateFormat::createTimeInstance(icu::DateFormat::kShort));
        date = make_formatter(icu::DateFormat::createDateInstance(icu::DateFormat::kFull));
        month_first = month_comes_first();
        UErrorCode status = U_ZERO_ERROR;
        day_month = make_formatter(new icu::SimpleDateFormat(month_first ? u"MM.dd" : u"dd.MM",
                                                             icu::Locale::getDefault(), status));
        if (U_FAILURE(status)) day_month.reset();
        minutes = {};
        days = {};
    }
};

Formatters& formatters() {
    thread_local Formatters f;
    f.refresh();
    return f;
}

std::u16string format(icu::DateFormat* format, int64_t local) {
    if (format == nullptr) return {};
    icu::UnicodeString text;
    UDate date = static_cast<UDate>(local_time::to_unix_ms(local));
    format->format(date, text);
    return to_text(text);
}

}  // namespace

bool month_before_day() { return formatters().month_first; }

std::u16string format_day_month(int64_t local) {
    Formatters& f = formatters();
    return format(f.day_month.get(), local);
}

std::u16string format_time(int64_t local) {
    Formatters& f = formatters();
    int64_t minute = floor_div(local, kTicksPerMinute);
    Slot& slot =
        f.minutes[static_cast<size_t>(minute - floor_div(minute, kMinutesPerDay) * kMinutesPerDay)];
    if (!slot.used) {
        // Any time of that minute gives the same text; the minute's start stands for it.
        slot.text = format(f.time.get(), minute * kTicksPerMinute);
        slot.used = true;
    }
    return slot.text;
}

std::u16string format_long_date(int64_t local) {
    Formatters& f = formatters();
    int64_t day = floor_div(local, kTicksPerDay);
    Slot& slot = f.days[static_cast<size_t>(day - floor_div(day, kDaySlots) * kDaySlots)];
    if (!slot.used || slot.key != day) {
        slot.text = format(f.date.get(), day * kTicksPerDay);
        slot.key = day;
        slot.used = true;
    }
    return slot.text;
}

}  // namespace locale_format
