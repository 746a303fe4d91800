#pragma once
// An SMS as the modem holds it: the properties of one of ModemManager's SMS
// objects that the transport reads. Values are ModemManager's own (MMSmsState,
// MMSmsPduType, MMSmsDeliveryState); text is as the bus carried it, which
// need not be valid UTF-8.
#include <cstddef>
#include <cstdint>
#include <string>

struct ModemSms {
    std::string path;  // the SMS object's path on the bus
    uint32_t state = 0;
    uint32_t pdu_type = 0;
    std::string number;
    std::string text;
    size_t data_size = 0;   // bytes of 8-bit data, for a message that carries no text
    std::string timestamp;  // ISO 8601 with the offset, as the network stamped it
    std::string smsc;
    int32_t sms_class = -1;  // -1: none; 0 is a "flash" message
    uint32_t delivery_state = 0;
};

// What the transport asks the modem to send.
struct OutgoingSms {
    std::u16string number;
    std::u16string text;
    bool delivery_report = false;
};
