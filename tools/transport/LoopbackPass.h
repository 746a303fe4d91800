#pragma once
// One run of the loopback network over the device's store, as
// "quillmo-device sms transmit" runs it, with one line saying what it did.
#include "platform/store/StoreDatabase.h"

// False (with one line logged) when the store failed; nothing has moved then.
bool loopback_pass(StoreDatabase& store);
