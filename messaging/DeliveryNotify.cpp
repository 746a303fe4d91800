#include "messaging/DeliveryNotify.h"

#include "platform/Registry.h"

DeliveryNotify DeliveryNotify::read() {
    DeliveryNotify notify;
    registry::read_number(u"HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Inbox\\Settings",
                          u"SMSDeliveryNotify", notify.value);
    return notify;
}
