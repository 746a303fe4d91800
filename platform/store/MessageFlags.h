#pragma once
// The bits of a message's flags (PR_MESSAGE_FLAGS) that the store, the
// program and the device tools read and set. Every other bit is kept as it
// is stored.
#include <cstdint>

// The message has been read (MSGFLAG_READ).
constexpr uint32_t kMsgFlagRead = 0x01;
// Not sent yet: a message waiting in the Outbox (MSGFLAG_UNSENT).
constexpr uint32_t kMsgFlagUnsent = 0x08;
// Written on this device, an outgoing message (MSGFLAG_FROMME).
constexpr uint32_t kMsgFlagFromMe = 0x20;
