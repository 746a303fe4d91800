#include "tools/transport/ModemTime.h"

#include "platform/LocalTime.h"

namespace {

// Days from 1970-01-01 to a civil date (proleptic Gregorian).
int64_t days_from_civil(int64_t y, int64_t m, int64_t d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) {}
    bool digits(size_t count, int& value) {
        value = 0;
        for (size_t i = 0; i < count; ++i) {
            if (at_ >= text_.size() || text_[at_] < '0' || text_[at_] > '9') return false;
            value = value * 10 + (text_[at_++] - '0');
        }
        return true;
    }
    bool take(char c) {
        if (at_ < text_.size() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }
    bool done() const { return at_ == text_.size(); }

private:
    std::string_view text_;
    size_t at_ = 0;
};

constexpr int64_t kSecondsPerDay = 86400;
// 1990-01-01T00:00:00Z.
constexpr int64_t kEarliestUnix = 631152000;

}  // namespace

std::optional<int64_t> modem_time::parse(std::string_view text, int64_t now_utc) {
    Reader r(text);
    int year, month, day, hour, minute, second;
    if (!r.digits(4, year) || !r.take('-') || !r.digits(2, month) || !r.take('-') ||
        !r.digits(2, day) || !r.take('T') || !r.digits(2, hour) || !r.take(':') ||
        !r.digits(2, minute) || !r.take(':') || !r.digits(2, second))
        return std::nullopt;
    if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 60)
        return std::nullopt;
    if (r.take('.')) {
        int digit;
        if (!r.digits(1, digit)) return std::nullopt;
        while (r.digits(1, digit)) {
        }
    }
    int offset_minutes = 0;
    if (!r.take('Z')) {
        int sign = r.take('+') ? 1 : r.take('-') ? -1 : 0;
        if (sign == 0) return std::nullopt;
        int oh, om = 0;
        if (!r.digits(2, oh)) return std::nullopt;
        if (!r.done()) {
            r.take(':');
            if (!r.digits(2, om)) return std::nullopt;
        }
        if (oh > 14 || om > 59) return std::nullopt;
        offset_minutes = sign * (oh * 60 + om);
    }
    if (!r.done()) return std::nullopt;
    int64_t unix_seconds = days_from_civil(year, month, day) * kSecondsPerDay + hour * 3600 +
                           minute * 60 + second - offset_minutes * 60;
    int64_t now_unix = (now_utc - local_time::kUnixEpoch) / local_time::kTicksPerSecond;
    if (unix_seconds < kEarliestUnix || unix_seconds > now_unix + kSecondsPerDay)
        return std::nullopt;
    return local_time::kUnixEpoch + unix_seconds * local_time::kTicksPerSecond;
}
