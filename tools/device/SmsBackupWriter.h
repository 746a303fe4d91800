#pragma once
// Writes messages of the SMS store in the backup XML that SmsBackupReader reads
// (and that the Android backup app restores). A message to several recipients
// becomes one <sms> per recipient, as phones store such a send. Delivery
// reports have no place in the format and are left out.
#include <string>
#include <vector>

#include "platform/store/StoredMessage.h"

struct SmsBackupText {
    std::string xml;
    size_t written = 0;  // <sms> elements
    size_t skipped = 0;  // messages left out (delivery reports)
};

class SmsBackupWriter {
public:
    // backup_date_ms is when the backup was made (milliseconds since 1970, UTC).
    static SmsBackupText write(const std::vector<StoredMessage>& messages, int64_t backup_date_ms);
};
