#include "platform/LocalTime.h"

#include <unicode/timezone.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <mutex>

namespace local_time {
namespace {

constexpr int64_t kTicksPerMs = 10000;

// ICU's default zone follows TZ and the system's zone; a private clone is
// kept so lookups do not race with anyone changing the default.
const icu::TimeZone& zone() {
    static std::unique_ptr<icu::TimeZone> z(icu::TimeZone::createDefault());
    return *z;
}
std::mutex& zone_mutex() {
    static std::mutex m;
    return m;
}

int64_t days_from_civil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void civil_from_days(int64_t z, int& y, unsigned& m, unsigned& d) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t yy = static_cast<int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp + (mp < 10 ? 3 : -9);
    y = static_cast<int>(yy + (m <= 2));
}

int64_t floor_div(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

}  // namespace

int64_t to_unix_ms(int64_t utc) { return floor_div(utc - kUnixEpoch, kTicksPerMs); }
int64_t from_unix_ms(int64_t ms) { return ms * kTicksPerMs + kUnixEpoch; }

int64_t now_utc() {
    auto since = std::chrono::system_clock::now().time_since_epoch();
    return kUnixEpoch + std::chrono::duration_cast<std::chrono::nanoseconds>(since).count() / 100;
}

int64_t utc_to_local(int64_t utc) {
    int32_t raw = 0, dst = 0;
    UErrorCode status = U_ZERO_ERROR;
    {
        std::lock_guard<std::mutex> guard(zone_mutex());
        zone().getOffset(static_cast<UDate>(to_unix_ms(utc)), false, raw, dst, status);
    }
    if (U_FAILURE(status)) return utc;
    return utc + static_cast<int64_t>(raw + dst) * kTicksPerMs;
}

int64_t local_to_utc(int64_t local) {
    int32_t raw = 0, dst = 0;
    UErrorCode status = U_ZERO_ERROR;
    {
        std::lock_guard<std::mutex> guard(zone_mutex());
        zone().getOffset(static_cast<UDate>(to_unix_ms(local)), true, raw, dst, status);
    }
    if (U_FAILURE(status)) return local;
    return local - static_cast<int64_t>(raw + dst) * kTicksPerMs;
}

std::string to_iso8601(int64_t local) {
    int64_t seconds = floor_div(local - kUnixEpoch, kTicksPerSecond);
    int64_t days = floor_div(seconds, 86400);
    int64_t rest = seconds - days * 86400;
    int y;
    unsigned m, d;
    civil_from_days(days, y, m, d);
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%04d-%02u-%02uT%02d:%02d:%02d", y, m, d,
                  static_cast<int>(rest / 3600), static_cast<int>(rest / 60 % 60),
                  static_cast<int>(rest % 60));
    return buffer;
}

std::optional<int64_t> parse_iso8601(std::string_view text) {
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    char sep = 0;
    int consumed = 0;
    std::string copy(text);
    int n =
        std::sscanf(copy.c_str(), "%4d-%2d-%2d%c%2d:%2d%n", &y, &mo, &d, &sep, &h, &mi, &consumed);
    if (n < 6 || (sep != 'T' && sep != ' ')) return std::nullopt;
    std::string_view rest = std::string_view(copy).substr(static_cast<size_t>(consumed));
    if (!rest.empty()) {
        int more = 0;
        if (std::sscanf(rest.data(), ":%2d%n", &s, &more) != 1 ||
            static_cast<size_t>(more) != rest.size())
            return std::nullopt;
    }
    if (y < 1601 || y > 9999 || mo < 1 || mo > 12 || d < 1 || d > 31 || h > 23 || mi > 59 ||
        s > 59 || h < 0 || mi < 0 || s < 0)
        return std::nullopt;
    int64_t days = days_from_civil(y, static_cast<unsigned>(mo), static_cast<unsigned>(d));
    // Reject dates such as 2026-02-31 that would silently roll over.
    int cy;
    unsigned cm, cd;
    civil_from_days(days, cy, cm, cd);
    if (cy != y || static_cast<int>(cm) != mo || static_cast<int>(cd) != d) return std::nullopt;
    int64_t seconds = days * 86400 + h * 3600 + mi * 60 + s;
    return kUnixEpoch + seconds * kTicksPerSecond;
}

}  // namespace local_time
