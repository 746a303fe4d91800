#pragma once
// The unread-message counter that the store publishes in the registry.
#include <cstdint>

#include "platform/Registry.h"

// The counter's value; 999 when it cannot be read.
inline uint32_t unread_counter() {
    uint32_t count = 999;
    registry::read_number(u"HKEY_CURRENT_USER\\System\\State\\Messages\\SMS\\Unread", u"Count",
                          count);
    return count;
}
