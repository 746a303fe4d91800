#include "chats/ChatKey.h"

namespace {

constexpr size_t kKeyDigits = 7;

bool is_digit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Characters that phone numbers are written with and that do not end a run.
bool is_separator(char16_t c) {
    return c == u' ' || c == u'+' || c == u'-' || c == u'(' || c == u')';
}

bool valid_report_run(std::u16string_view run) {
    size_t digits = chat_key(run).size();
    return digits >= 3 && digits != 4;
}

}  // namespace

std::u16string chat_key(std::u16string_view number) {
    std::u16string key;
    for (size_t i = number.size(); i > 0 && key.size() < kKeyDigits; --i)
        if (is_digit(number[i - 1])) key.push_back(number[i - 1]);
    return {key.rbegin(), key.rend()};
}

std::u16string report_number(std::u16string_view body) {
    std::u16string best;
    std::u16string run;
    bool in_run = false;
    auto finish = [&] {
        if (in_run && run.size() > best.size() && valid_report_run(run)) best = run;
        run.clear();
        in_run = false;
    };
    for (char16_t c : body) {
        if (is_digit(c) || (!in_run && c == u'+')) {
            run.push_back(c);
            in_run = true;
        } else if (!(in_run && is_separator(c))) {
            finish();
        }
    }
    finish();
    return best;
}

std::u16string correspondent_key(std::u16string_view name, std::u16string_view number) {
    if (number.empty()) return std::u16string(name);
    std::u16string key = chat_key(number);
    return key.empty() ? std::u16string(number) : key;
}

ChatIdentity chat_identity(const SmsRecord& record) {
    if (record.is_report()) {
        std::u16string number = report_number(record.body());
        if (!number.empty()) {
            std::u16string key = chat_key(number);
            return {std::u16string(), std::move(number), std::move(key)};
        }
    }
    const Recipient& who = record.correspondent();
    return {who.name, who.number, correspondent_key(who.name, who.number)};
}
