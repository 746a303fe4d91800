#pragma once
// A message received on the modem turned into the Inbox message the store
// files: sender, text, time, class. Status reports become the delivery
// reports the chats file under the number they speak of:
// "REPORT.IPM.SMStext.DR" when the message was delivered, ".NDR" otherwise,
// with a text naming the number. A class 0 ("flash") message keeps its class
// as "IPM.SMStext.Class0"; to the program it is an ordinary message.
#include <cstdint>
#include <optional>

#include "platform/store/StoredMessage.h"
#include "tools/transport/ModemSms.h"

class ReceivedSms {
public:
    // The longest sender number kept, in UTF-16 units; a longer one (no
    // network sends one) is cut there.
    static constexpr size_t kMaxNumberLength = 64;

    // Whether the modem's message is a complete received one the Inbox
    // takes: a message or a status report in state received (a message in
    // parts only once all have come).
    static bool wanted(const ModemSms& sms);

    // What was wrong with a message the modem gave; each is logged once.
    struct Damage {
        bool invalid_text = false;  // not UTF-8: bad bytes became U+FFFD
        bool long_number = false;   // the sender was cut to kMaxNumberLength
        bool missing_time = false;  // no usable stamp: the time of receipt stands
    };
    // The Inbox message for a wanted one, received at now (UTC FILETIME).
    static StoredMessage to_stored(const ModemSms& sms, int64_t now, Damage& damage);
};
