#pragma once
// Reads the SMS backup XML that the widespread Android backup app writes:
//
//   <smses count="2">
//     <sms protocol="0" address="+79123456789" date="1700000000000" type="1"
//          body="Hi" read="1" contact_name="Anna" ... />
//     <mms ...>...</mms>
//   </smses>
//
// date is milliseconds since the Unix epoch (UTC); type 1 received, 2 sent,
// 3 draft, 4 outbox, 5 failed, 6 queued. <sms> elements become messages of the
// SMS store; every other child of <smses> (<mms> above all) is counted as
// skipped. The file is parsed by expat after its surrogate references were
// joined (see SurrogateReferences.h).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/store/StoredMessage.h"

struct SmsBackup {
    std::vector<StoredMessage> messages;  // in file order
    size_t skipped = 0;
};

class SmsBackupReader {
public:
    // Parses a whole backup file. Returns nothing, with *error set to one line
    // that starts with the line number ("line 12: ..."), when the file is not
    // well-formed XML, is not an SMS backup, or holds an <sms> without address,
    // date, type or body or with a date or type that is not a number.
    static std::optional<SmsBackup> parse(std::string_view xml, std::string* error);
};
