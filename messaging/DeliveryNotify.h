#pragma once
// The phone's messaging setting that asks the network for delivery reports:
// "SMSDeliveryNotify" under HKEY_CURRENT_USER\SOFTWARE\Microsoft\Inbox\Settings,
// a number read at every send (missing reads as 0). The program takes it as a
// 16-bit boolean, as the handset's messaging does: only its low 16 bits count,
// so 0x10000 asks for no report. Everything that sends reads it here.
#include <cstdint>

struct DeliveryNotify {
    uint32_t value = 0;  // as stored

    bool wanted() const { return static_cast<uint16_t>(value) != 0; }

    // The setting now.
    static DeliveryNotify read();
};
