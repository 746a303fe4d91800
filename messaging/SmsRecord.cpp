#include "messaging/SmsRecord.h"

namespace {

const SmsDetails& no_details() {
    static const SmsDetails kNone;
    return kNone;
}

}  // namespace

SmsRecord::SmsRecord(const SmsRecord& other)
    : id(other.id),
      time(other.time),
      flags(other.flags),
      report(other.report),
      folder(other.folder),
      details_(other.details_ ? std::make_unique<SmsDetails>(*other.details_) : nullptr) {}

SmsRecord& SmsRecord::operator=(const SmsRecord& other) {
    if (this != &other) *this = SmsRecord(other);
    return *this;
}

SmsDetails& SmsRecord::details() {
    if (!details_) details_ = std::make_unique<SmsDetails>();
    return *details_;
}

const Recipient& SmsRecord::sender() const { return (details_ ? *details_ : no_details()).sender; }

const std::vector<Recipient>& SmsRecord::recipients() const {
    return (details_ ? *details_ : no_details()).recipients;
}

const std::u16string& SmsRecord::body() const { return (details_ ? *details_ : no_details()).body; }

const std::u16string& SmsRecord::date_text() const {
    return (details_ ? *details_ : no_details()).date_text;
}

const std::u16string& SmsRecord::time_text() const {
    return (details_ ? *details_ : no_details()).time_text;
}

const Recipient& SmsRecord::correspondent() const {
    static const Recipient kNone;
    if (incoming()) return sender();
    return recipients().empty() ? kNone : recipients().front();
}

bool operator<(const SmsRecord& a, const SmsRecord& b) {
    if (a.id == b.id) return false;
    if (a.time != b.time) return a.time < b.time;
    return a.id < b.id;
}
