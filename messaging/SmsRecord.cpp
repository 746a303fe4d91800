#include "messaging/SmsRecord.h"

const Recipient& SmsRecord::correspondent() const {
    static const Recipient kNone;
    if (incoming()) return sender;
    return recipients.empty() ? kNone : recipients.front();
}

bool operator<(const SmsRecord& a, const SmsRecord& b) {
    if (a.id == b.id) return false;
    if (a.time != b.time) return a.time < b.time;
    return a.id < b.id;
}
